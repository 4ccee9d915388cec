#pragma once

#include "extract/Extractor.h"
#include "extract/rtf/DecoderCache.h"
#include "extract/rtf/NoteNumbering.h"
#include "extract/rtf/RtfControlWords.h"
#include "extract/rtf/RtfTextAssembler.h"
#include "extract/rtf/RtfTokenizer.h"
#include "extract/rtf/StyleLevels.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace leafmill::extract::rtf {

// Reads the text of an RTF document that starts with "{\rtf". Iterative: the
// group stack is an explicit vector with a fixed bound, so no input can make
// it recurse or grow without limit. Footnotes and endnotes follow the main
// text, each as its own paragraph, with their automatic numbers at the
// reference and before the note. The main text is handed on as its paragraphs
// end; the notes are held until the end.
class RtfReader {
public:
    // Deeper groups are read as if they were part of the deepest one.
    static constexpr std::size_t maxGroupDepth = 10000;

    RtfReader(std::string_view bytes, const Options& options);
    Result read();

private:
    enum class Destination : uint8_t { Text, Footnote, Skipped, FontTable, StyleSheet };

    struct GroupState {
        Destination destination = Destination::Text;
        Destination afterAnsiAlternative = Destination::Skipped;  // where \ud inside \upr resumes
        bool insideAnsiAlternative = false;
        bool ignorable = false;  // \* opened the group: an unknown word next skips it
        bool hidden = false;  // \v: text the writer does not show
        int32_t unicodeSkip = 1;
        int32_t font = -1;
        // Paragraphs of outline level 0-2 (Word's and LibreOffice's headings
        // 1-3 carry one) start chapters; -1: none.
        int32_t outlineLevel = -1;
    };

    void openGroup();
    bool closeGroup();  // false once the document's own group has closed
    void onWord(const RtfToken& token);
    void onDestinationWord(const WordEntry& entry);
    void onText(std::string_view bytes);
    void onHexByte(unsigned char byte);
    bool skipFallback(RtfToken& token);  // true: the token was fallback text
    void reportProgress();
    void warn(std::string message);

    GroupState& top() { return groups_.back(); }
    RtfTextAssembler* textSink();
    ByteDecoder& decoder();
    int fontCodePage(int32_t font) const;
    void setFontCodePage(int32_t font, int codePage);
    void onFontName(std::string_view bytes);
    void onFormattingWord(const RtfToken& token);
    void onNoteMark();
    const std::string& noteNumber();
    void numberPendingReference();
    void insertIntoBody(std::size_t at, const std::string& text);
    std::size_t bodyEnd() { return result_.handedOn + body_.mark(); }
    void endParagraph();
    void handOnFinishedText();
    void releaseReadBytes();

    RtfTokenizer tokens_;
    std::string_view bytes_;
    std::size_t releasedUpTo_ = 0;  // the bytes before were given back
    const Options& options_;
    std::vector<GroupState> groups_;
    std::size_t flattenedDepth_ = 0;  // open groups beyond maxGroupDepth
    GroupState beforeFlattening_;  // restored when the flattened groups have all closed
    int documentCodePage_ = 0;  // 0: none declared
    int32_t defaultFont_ = -1;
    std::vector<int> fontCodePages_;  // by font number; 0: the document's page
    std::string fontName_;  // of the font table entry being read
    StyleLevels styles_;
    int32_t fallbackToSkip_ = 0;  // \uc characters still to drop after a \u
    NoteNumbering numbering_;
    // Where the main text's last \chftn is: its number waits for the note
    // after it, which says whether it is a footnote or an endnote (\ftnalt).
    // Offsets into the main text count what was handed on.
    std::optional<std::size_t> pendingReference_;
    NoteNumbering::Kind noteKind_ = NoteNumbering::Kind::Footnote;
    std::string noteNumber_;  // of the note being read, once known
    bool sawHeader_ = false;
    bool groupJustOpened_ = false;
    DecoderCache decoders_;
    Result result_;  // the main text not yet handed on, its chapters and the warnings
    std::string notesText_;
    RtfTextAssembler body_ {result_.text};
    RtfTextAssembler notes_ {notesText_};
    std::size_t paragraphStart_ = 0;
    std::set<std::string> warned_;
    int lastProgress_ = -1;
    std::size_t nextProgressAt_ = 0;
};

}  // namespace leafmill::extract::rtf
