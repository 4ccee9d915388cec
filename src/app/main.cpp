// Placeholder entry point until the windows land: loads the settings and says
// what it would do.
#include "app/ProgramFolder.h"

#include <cstdio>

int main()
{
    std::printf("Leafmill 1.60: program folder %s\n", leafmill::programFolder().string().c_str());
    return 0;
}
