#pragma once

#include <pugixml.hpp>

namespace leafmill::extract::docx {

// Of an mc:AlternateContent's branches the one a reader of this reader's
// markup takes: the first Choice whose required namespaces (Requires, a list
// of prefixes) are all ones it reads, else the Fallback (empty when none).
// Newer content comes as a Choice that older readers pass by: an emoji as a
// w16se:symEx, say, whose Fallback holds the character itself.
pugi::xml_node chosenAlternative(pugi::xml_node alternateContent);

}  // namespace leafmill::extract::docx
