#include "extract/doc/ParagraphFormat.h"

#include "extract/doc/Sprm.h"

#include <cstdint>

namespace leafmill::extract::doc {

void ParagraphFormat::apply(std::string_view grpprl)
{
    SprmReader reader(grpprl);
    Sprm sprm;
    while (reader.next(sprm)) {
        switch (sprm.code) {
        case kSprmPIlfo:
            ilfo = static_cast<std::int16_t>(sprm.word());
            break;
        case kSprmPIlvl:
            ilvl = static_cast<int>(sprm.byte());
            break;
        case kSprmPOutLvl:
            outlineLevel = static_cast<int>(sprm.byte());
            break;
        case kSprmPFTtp:
        case kSprmPFInnerTtp:
            rowEnd = rowEnd || sprm.byte() != 0;
            break;
        default:
            break;
        }
    }
}

}  // namespace leafmill::extract::doc
