#include "convert/ConfinedReading.h"

#include <cstring>

namespace leafmill {

namespace {

// The messages of a reading: progress, the kind word before the bytes, the
// bytes, and what came of it.
constexpr char kProgress = 'P';
constexpr char kBegin = 'K';
constexpr char kBytes = 'B';
constexpr char kPrepared = 'R';

constexpr std::uint64_t kMegabyte = 1 << 20;

// Numbers and strings one after another, read back in the same order.
class Wire {
public:
    void put(std::uint64_t number) { bytes_.append(reinterpret_cast<const char*>(&number), sizeof number); }
    void put(std::string_view text)
    {
        put(static_cast<std::uint64_t>(text.size()));
        bytes_.append(text);
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class WireReader {
public:
    explicit WireReader(std::string_view bytes)
        : bytes_(bytes)
    {
    }
    std::uint64_t number()
    {
        std::uint64_t value = 0;
        if (bytes_.size() >= sizeof value) {
            std::memcpy(&value, bytes_.data(), sizeof value);
            bytes_.remove_prefix(sizeof value);
        }
        return value;
    }
    std::string text()
    {
        const std::string_view text = bytes_.substr(0, static_cast<std::size_t>(number()));
        bytes_.remove_prefix(text.size());
        return std::string(text);
    }

private:
    std::string_view bytes_;
};

std::string encoded(const PreparedSource& prepared)
{
    Wire wire;
    wire.put(static_cast<std::uint64_t>(prepared.failure));
    wire.put(prepared.reason);
    wire.put(prepared.warnings.size());
    for (const std::string& warning : prepared.warnings)
        wire.put(warning);
    wire.put(prepared.cutInPlace ? 1 : 0);
    wire.put(prepared.skip);
    wire.put(prepared.replaced.count);
    wire.put(prepared.replaced.first);
    wire.put(prepared.chapters.size());
    for (const ChapterMark& chapter : prepared.chapters) {
        wire.put(chapter.title);
        wire.put(chapter.offset);
    }
    wire.put(prepared.readAs);
    return wire.bytes();
}

PreparedSource decoded(std::string_view bytes)
{
    WireReader wire(bytes);
    PreparedSource prepared;
    prepared.failure = static_cast<SourceFailure>(wire.number());
    prepared.reason = wire.text();
    prepared.warnings.resize(static_cast<std::size_t>(wire.number()));
    for (std::string& warning : prepared.warnings)
        warning = wire.text();
    prepared.cutInPlace = wire.number() != 0;
    prepared.skip = static_cast<std::size_t>(wire.number());
    prepared.replaced.count = static_cast<std::size_t>(wire.number());
    prepared.replaced.first = wire.text();
    prepared.chapters.resize(static_cast<std::size_t>(wire.number()));
    for (ChapterMark& chapter : prepared.chapters) {
        chapter.title = wire.text();
        chapter.offset = static_cast<std::size_t>(wire.number());
    }
    prepared.readAs = wire.text();
    return prepared;
}

PreparedSource failed(SourceFailure failure, std::string reason)
{
    PreparedSource prepared;
    prepared.failure = failure;
    prepared.reason = std::move(reason);
    return prepared;
}

}  // namespace

WorkLimits SourceLimits::forSize(std::uint64_t fileSize) const
{
    return {baseMemory + memoryPerByte * fileSize,
            baseTime + timePerMegabyte * static_cast<std::int64_t>(fileSize / kMegabyte)};
}

PreparedSource readSourceConfined(const std::string& path, InputFile& source, const DispatchTable& table,
                                  const CodePage& codePage, const PageTextRules& pageText,
                                  std::string_view sourceEncoding, const SourceSink& sink, const SourceLimits& limits,
                                  const std::atomic<bool>* stop, bool* stopped)
{
    *stopped = false;
    const FileState before = source.state();
    const WorkLimits workLimits = limits.forSize(before.size);
    const ConfinedWorkBody work = [&](WorkChannel& channel) {
        SourceSink forward;
        // Readers tell their progress page by page: a percentage nobody asked
        // for, or the one sent last, would only wake the waiting side.
        int sent = -1;
        if (sink.progress)
            forward.progress = [&](int value) {
                if (value == sent)
                    return;
                sent = value;
                const char percent = static_cast<char>(value);
                channel.send(kProgress, std::string_view(&percent, 1));
            };
        forward.begin = [&](std::string_view kindWord) { channel.send(kBegin, kindWord); };
        forward.bytes = [&](std::string_view bytes) { channel.send(kBytes, bytes); };
        channel.send(kPrepared,
                     encoded(prepareSource(path, source, table, codePage, pageText, sourceEncoding, forward)));
    };
    PreparedSource prepared;
    bool answered = false;
    const MessageReceiver receive = [&](char kind, std::string_view bytes) {
        if (kind == kProgress && !bytes.empty() && sink.progress)
            sink.progress(static_cast<unsigned char>(bytes.front()));
        else if (kind == kBegin)
            sink.begin(bytes);
        else if (kind == kBytes)
            sink.bytes(bytes);
        else if (kind == kPrepared) {
            prepared = decoded(bytes);
            answered = true;
        }
    };
    const WorkOutcome outcome = runConfined(work, workLimits, receive, stop);
    if (outcome.end == WorkEnd::Stopped) {
        *stopped = true;
        return {};
    }
    // A file that changed while it was read explains whatever came of it, and
    // its pages could mix two versions of it.
    if (source.state() != before && prepared.failure != SourceFailure::Missing)
        return failed(SourceFailure::Changed, {});
    switch (outcome.end) {
    case WorkEnd::OverMemory:
        return failed(SourceFailure::TooLarge, std::to_string(workLimits.memoryBytes / kMegabyte) + " MB");
    case WorkEnd::OverTime:
        return failed(SourceFailure::TooLarge, std::to_string(workLimits.time.count() / 1000) + " s");
    case WorkEnd::Failed:
        return failed(SourceFailure::ReaderStopped, outcome.detail);
    case WorkEnd::Stopped:
    case WorkEnd::Finished:
        break;
    }
    if (!answered)
        return failed(SourceFailure::ReaderStopped, "it gave no answer");
    return prepared;
}

}  // namespace leafmill
