// The Leafmill program; everything it does starts in the windows' start-up.
#include "ui/StartUp.h"

int main(int argc, char** argv)
{
    return leafmill::runLeafmill(argc, argv);
}
