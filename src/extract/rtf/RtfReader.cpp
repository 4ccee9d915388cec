#include "extract/rtf/RtfReader.h"

#include "extract/common/ChapterTitle.h"

#include "extract/common/RtfCharsets.h"

#include <algorithm>

namespace leafmill::extract::rtf {

namespace {

// Fonts are numbered from 0, usually below a few hundred.
constexpr int32_t maxFontNumber = 32767;

bool isDestinationAction(WordAction action)
{
    switch (action) {
    case WordAction::SkippedGroup:
    case WordAction::FontTable:
    case WordAction::StyleSheet:
    case WordAction::Footnote:
    case WordAction::AnsiAlternative:
    case WordAction::UnicodeAlternative:
    case WordAction::TextGroup:
        return true;
    default:
        return false;
    }
}

bool isWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

RtfReader::RtfReader(std::string_view bytes, const Options& options)
    : tokens_(bytes)
    , bytes_(bytes)
    , options_(options)
    , decoders_(options.codePage)
{
}

void RtfReader::warn(std::string message)
{
    if (warned_.insert(message).second)
        result_.warnings.push_back(std::move(message));
}

RtfTextAssembler* RtfReader::textSink()
{
    if (top().hidden)
        return nullptr;
    switch (top().destination) {
    case Destination::Text:
        return &body_;
    case Destination::Footnote:
        return &notes_;
    default:
        return nullptr;
    }
}

int RtfReader::fontCodePage(int32_t font) const
{
    if (font < 0 || static_cast<std::size_t>(font) >= fontCodePages_.size())
        return 0;
    return fontCodePages_[static_cast<std::size_t>(font)];
}

void RtfReader::setFontCodePage(int32_t font, int codePage)
{
    if (font < 0 || font > maxFontNumber || codePage < 0)
        return;
    if (static_cast<std::size_t>(font) >= fontCodePages_.size())
        fontCodePages_.resize(static_cast<std::size_t>(font) + 1, 0);
    fontCodePages_[static_cast<std::size_t>(font)] = codePage;
}

ByteDecoder& RtfReader::decoder()
{
    const int page = fontCodePage(top().font);
    return decoders_.get(page != 0 ? page : documentCodePage_);
}

void RtfReader::openGroup()
{
    if (groups_.size() >= maxGroupDepth) {
        if (flattenedDepth_++ == 0)
            beforeFlattening_ = top();
        warn("groups nested deeper than " + std::to_string(maxGroupDepth) + " levels were read as one level");
        return;
    }
    if (groups_.empty()) {
        groups_.emplace_back();
        return;
    }
    GroupState inner = top();
    inner.ignorable = false;
    groups_.push_back(inner);
}

bool RtfReader::closeGroup()
{
    if (flattenedDepth_ > 0) {
        // The flattened groups shared one state; what they changed ends with them.
        if (--flattenedDepth_ == 0)
            top() = beforeFlattening_;
        return true;
    }
    const Destination closed = top().destination;
    groups_.pop_back();
    if (groups_.empty())
        return false;
    if (closed == Destination::Footnote && top().destination != Destination::Footnote) {
        if (pendingReference_)
            noteNumber();  // a note that does not repeat its mark
        notes_.endLine();
    }
    return true;
}

// A font entry ends with ";". The symbol fonts we have tables for are known
// by name, whatever character set the entry gives; other fonts of the symbol
// set draw pictures.
void RtfReader::onFontName(std::string_view bytes)
{
    for (char c : bytes) {
        if (c != ';') {
            if (fontName_.size() < 64)
                fontName_.push_back(c);
            continue;
        }
        const SymbolFont named = symbolFontNamed(fontName_);
        if (named != SymbolFont::None)
            setFontCodePage(top().font, codePageOfSymbolFont(named));
        else if (fontCodePage(top().font) == symbolCodePage)
            setFontCodePage(top().font, pictographCodePage);
        fontName_.clear();
    }
}

// The mark in the text and the one opening its note show the same number,
// so that the two can be matched.
void RtfReader::onNoteMark()
{
    RtfTextAssembler* sink = textSink();
    if (sink == &body_) {
        numberPendingReference();
        pendingReference_ = bodyEnd();
    } else if (sink == &notes_) {
        notes_.appendAscii(noteNumber() + " ");
    }
}

// The number of the note being read, taken when first asked for; a
// reference waiting in the main text gets it too.
const std::string& RtfReader::noteNumber()
{
    if (!noteNumber_.empty())
        return noteNumber_;
    noteNumber_ = numbering_.next(noteKind_);
    if (pendingReference_) {
        insertIntoBody(*pendingReference_, noteNumber_);
        pendingReference_.reset();
    }
    return noteNumber_;
}

// A reference no note followed is counted as a footnote.
void RtfReader::numberPendingReference()
{
    if (pendingReference_) {
        insertIntoBody(*pendingReference_, numbering_.next(NoteNumbering::Kind::Footnote));
        pendingReference_.reset();
    }
}

// A note's number put back at its reference moves what was marked after it.
// Nothing at or after a reference is handed on, so the chapters it moves are
// all still here.
void RtfReader::insertIntoBody(std::size_t at, const std::string& text)
{
    body_.insertAscii(at - result_.handedOn, text);
    if (paragraphStart_ > at)
        paragraphStart_ += text.size();
    for (Chapter& chapter : result_.chapters)
        if (chapter.offset > at)
            chapter.offset += text.size();
}

void RtfReader::endParagraph()
{
    const int32_t level = top().outlineLevel;
    if (level >= 0 && level <= 2) {
        std::string title = chapterTitle(body_.since(paragraphStart_ - result_.handedOn));
        if (!title.empty())
            result_.chapters.push_back({std::move(title), paragraphStart_, level + 1});
    }
}

// The open paragraph may still become a heading and a reference still gets
// its number: what comes before both is finished.
void RtfReader::handOnFinishedText()
{
    std::size_t limit = paragraphStart_;
    if (pendingReference_)
        limit = std::min(limit, *pendingReference_);
    handOnBefore(result_, options_, limit);
}

void RtfReader::onText(std::string_view bytes)
{
    if (top().destination == Destination::FontTable)
        onFontName(bytes);
    else if (top().destination == Destination::StyleSheet)
        styles_.onNameText(bytes);
    else if (RtfTextAssembler* sink = textSink())
        sink->appendBytes(bytes, decoder());
}

void RtfReader::onHexByte(unsigned char byte)
{
    if (RtfTextAssembler* sink = textSink())
        sink->appendByte(byte, decoder());
}

void RtfReader::onDestinationWord(const WordEntry& entry)
{
    GroupState& g = top();
    switch (entry.action) {
    case WordAction::SkippedGroup:
        g.destination = Destination::Skipped;
        break;
    case WordAction::FontTable:
        if (g.destination == Destination::Text || g.destination == Destination::Footnote)
            g.destination = Destination::FontTable;
        break;
    case WordAction::StyleSheet:
        if (g.destination == Destination::Text)
            g.destination = Destination::StyleSheet;
        break;
    case WordAction::Footnote:
        if (g.destination == Destination::Text) {
            g.destination = Destination::Footnote;
            noteKind_ = NoteNumbering::Kind::Footnote;
            noteNumber_.clear();
        }
        break;
    case WordAction::AnsiAlternative:
        g.afterAnsiAlternative = g.destination;
        g.insideAnsiAlternative = true;
        g.destination = Destination::Skipped;
        break;
    case WordAction::UnicodeAlternative:
        if (g.insideAnsiAlternative) {
            g.destination = g.afterAnsiAlternative;
            g.insideAnsiAlternative = false;
        }
        break;
    default:
        break;
    }
}

void RtfReader::onWord(const RtfToken& token)
{
    const WordEntry* entry = findControlWord(token.word);
    GroupState& g = top();
    if (g.ignorable) {
        g.ignorable = false;
        if (!entry || !isDestinationAction(entry->action)) {
            g.destination = Destination::Skipped;
            return;
        }
    }
    if (!entry) {
        onFormattingWord(token);
        return;
    }

    switch (entry->action) {
    case WordAction::Character:
        if (RtfTextAssembler* sink = textSink(); sink && entry->value != 0)
            sink->appendChar(entry->value);
        break;
    case WordAction::LineEnd:
        if (RtfTextAssembler* sink = textSink()) {
            const bool paragraphEnds = sink == &body_ && (token.word == "par" || token.word == "sect");
            if (paragraphEnds)
                endParagraph();
            sink->appendAscii("\r\n");
            if (paragraphEnds)
                paragraphStart_ = bodyEnd();
            if (sink == &body_)
                handOnFinishedText();
        }
        if (token.word == "sect")
            numbering_.newSection();
        break;
    case WordAction::Unicode:
        if (RtfTextAssembler* sink = textSink(); sink && token.hasParam && token.param != 0) {
            const int32_t n = token.param < 0 ? token.param + 65536 : token.param;
            // Picture fonts' glyphs come as private-use characters U+F000 + byte,
            // which no code page holds and a reader shows as boxes. (The Symbol
            // font's are kept as written, as word processors export them.)
            const int page = fontCodePage(g.font);
            const bool symbolFont = page == pictographCodePage
                || (page != symbolCodePage && symbolFontOfCodePage(page) != SymbolFont::None);
            if (symbolFont && n >= 0xF020 && n <= 0xF0FF)
                sink->appendByte(static_cast<unsigned char>(n - 0xF000), decoders_.get(page));
            else
                sink->appendUtf16Unit(n >= 0 && n <= 0xFFFF ? static_cast<char16_t>(n) : u'\uFFFD');
        }
        fallbackToSkip_ = g.unicodeSkip;
        break;
    case WordAction::UnicodeSkipCount:
        g.unicodeSkip = token.param > 0 ? token.param : 0;
        break;
    case WordAction::Font:
        g.font = token.param;
        fontName_.clear();
        break;
    case WordAction::FontCharset:
        if (g.destination == Destination::FontTable)
            setFontCodePage(g.font, codePageOfCharset(token.param));
        break;
    case WordAction::FontCodePage:
        if (g.destination == Destination::FontTable && token.param > 0)
            setFontCodePage(g.font, token.param);
        break;
    case WordAction::DefaultFont:
        defaultFont_ = token.param;
        if (groups_.size() == 1)
            g.font = token.param;
        break;
    case WordAction::DocumentCodePage: {
        const int page = token.hasParam ? token.param : static_cast<int>(entry->value);
        if (page > 0)
            documentCodePage_ = page;
        break;
    }
    case WordAction::FootnoteMark:
        onNoteMark();
        break;
    case WordAction::Plain:
        g.font = defaultFont_;
        g.hidden = false;
        break;
    case WordAction::Hidden:
        g.hidden = !token.hasParam || token.param != 0;
        break;
    case WordAction::RtfHeader:
        if (sawHeader_)
            warn("an RTF document inside the document was read as part of it");
        sawHeader_ = true;
        break;
    default:
        onDestinationWord(*entry);
        break;
    }
}

// The formatting words that matter to a reader: note kinds and numbering,
// and the outline levels that make headings chapters.
void RtfReader::onFormattingWord(const RtfToken& token)
{
    GroupState& g = top();
    const int32_t param = token.hasParam ? token.param : -1;
    if (g.destination == Destination::StyleSheet) {
        if (token.word == "s")
            styles_.onStyleNumber(param);
        else if (token.word == "outlinelevel")
            styles_.onOutlineLevel(param);
    } else if (token.word == "ftnalt" && g.destination == Destination::Footnote) {
        noteKind_ = NoteNumbering::Kind::Endnote;
    } else if (g.destination == Destination::Text && token.word == "pard") {
        g.outlineLevel = -1;
    } else if (g.destination == Destination::Text && token.word == "s") {
        g.outlineLevel = styles_.levelOf(param);
    } else if (g.destination == Destination::Text && token.word == "outlinelevel") {
        g.outlineLevel = param;
    } else {
        numbering_.read(token.word, token.hasParam, token.param);
    }
}

// After \uN, the next \ucN characters are the fallback for readers without
// Unicode; a group boundary ends them early.
bool RtfReader::skipFallback(RtfToken& token)
{
    switch (token.kind) {
    case RtfToken::Kind::Text: {
        const auto n = std::min<std::size_t>(static_cast<std::size_t>(fallbackToSkip_), token.text.size());
        token.text.remove_prefix(n);
        fallbackToSkip_ -= static_cast<int32_t>(n);
        return token.text.empty();
    }
    case RtfToken::Kind::HexByte:
    case RtfToken::Kind::ControlSymbol:
    case RtfToken::Kind::Binary:
        --fallbackToSkip_;
        return true;
    case RtfToken::Kind::ControlWord:
        // A \u inside the fallback starts a fallback of its own.
        if (token.word == "u")
            return false;
        --fallbackToSkip_;
        return true;
    default:
        fallbackToSkip_ = 0;
        return false;
    }
}

void RtfReader::reportProgress()
{
    const std::size_t size = tokens_.size();
    const std::size_t position = tokens_.position();
    const int percent = size == 0 ? 100 : static_cast<int>(position * 100 / size);
    if (percent != lastProgress_) {
        lastProgress_ = percent;
        options_.progress(percent);
    }
    nextProgressAt_ = position + size / 100 + 1;
}

// The reader never looks back: what it has passed of a large document may go
// back to the system, a few megabytes at a time.
void RtfReader::releaseReadBytes()
{
    constexpr std::size_t kStep = std::size_t {8} << 20;
    const std::size_t position = tokens_.position();
    if (!options_.release || position < releasedUpTo_ + kStep)
        return;
    options_.release(bytes_.substr(releasedUpTo_, position - releasedUpTo_));
    releasedUpTo_ = position;
}

Result RtfReader::read()
{
    bool documentClosed = false;
    while (!documentClosed) {
        if (options_.progress && tokens_.position() >= nextProgressAt_)
            reportProgress();
        releaseReadBytes();
        RtfToken token = tokens_.next();
        if (token.kind == RtfToken::Kind::End)
            break;
        if (fallbackToSkip_ > 0 && skipFallback(token))
            continue;
        if (groups_.empty() && token.kind != RtfToken::Kind::GroupOpen)
            continue;
        const bool atGroupStart = groupJustOpened_;
        groupJustOpened_ = token.kind == RtfToken::Kind::GroupOpen;
        switch (token.kind) {
        case RtfToken::Kind::GroupOpen:
            openGroup();
            break;
        case RtfToken::Kind::GroupClose:
            documentClosed = !closeGroup();
            break;
        case RtfToken::Kind::ControlWord:
            onWord(token);
            break;
        case RtfToken::Kind::ControlSymbol:
            if (token.symbol == '*') {
                // Only "{\*" marks a destination; elsewhere the star means nothing.
                top().ignorable = atGroupStart;
                groupJustOpened_ = atGroupStart;
            } else if (token.symbol == '\\' || token.symbol == '{' || token.symbol == '}') {
                // Through the decoder: in a double-byte page it may be a trail byte.
                onText(std::string_view(&token.symbol, 1));
            } else if (const char32_t c = controlSymbolChar(token.symbol); c != 0) {
                if (RtfTextAssembler* sink = textSink())
                    sink->appendChar(c);
            }
            break;
        case RtfToken::Kind::HexByte:
            onHexByte(token.byte);
            break;
        case RtfToken::Kind::Text:
            onText(token.text);
            break;
        default:
            break;  // \bin data is never text
        }
    }

    if (!documentClosed) {
        warn("the document ends inside " + std::to_string(groups_.size() + flattenedDepth_)
             + " unclosed groups; the text was read up to its end");
    } else {
        const std::string_view rest = tokens_.remainder();
        for (char c : rest) {
            if (!isWhitespace(c)) {
                warn("what follows the document's closing brace was ignored");
                break;
            }
        }
    }
    if (tokens_.truncatedBinaryCount() > 0)
        warn("binary data runs past the end of the document");
    for (const std::string& w : decoders_.warnings())
        warn(w);
    if (options_.progress && lastProgress_ != 100)
        options_.progress(100);
    numberPendingReference();

    body_.finish();
    notes_.finish();
    // What was handed on ended with a line end.
    if (!notesText_.empty()) {
        if (!result_.text.empty() && !result_.text.ends_with("\r\n"))
            result_.text += "\r\n";
        result_.text += notesText_;
    }
    result_.text += "\r\n";
    result_.ok = true;
    return std::move(result_);
}

}  // namespace leafmill::extract::rtf
