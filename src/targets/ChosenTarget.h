#pragma once

#include "app/Settings.h"
#include "convert/OutputTarget.h"

#include <memory>

namespace leafmill {

class CodePage;

// The target the settings ask for: the Notes reader's books when main.ini
// has [NotesReader], plain pages otherwise.
std::unique_ptr<OutputTarget> chosenTarget(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                                           std::shared_ptr<const LanguageTable> language);

}  // namespace leafmill
