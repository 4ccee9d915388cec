#include "extract/pdf/PdfDocument.h"

#include "extract/pdf/PdfModuleLoader.h"

namespace leafmill::extract::pdf {

struct PdfDocument::Impl {
    const PdfModule* module = nullptr;
    void* document = nullptr;

    ~Impl()
    {
        if (document != nullptr)
            module->close(document);
    }
};

PdfDocument::PdfDocument(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl))
{
}

PdfDocument::~PdfDocument() = default;
PdfDocument::PdfDocument(PdfDocument&&) noexcept = default;

std::unique_ptr<PdfDocument> PdfDocument::open(std::string_view bytes, std::string& reason)
{
    const LoadedPdfModule& loaded = pdfModule();
    if (loaded.module == nullptr) {
        reason = loaded.failure;
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->module = loaded.module;
    impl->document = loaded.module->open(bytes, reason);
    if (impl->document == nullptr)
        return nullptr;
    return std::unique_ptr<PdfDocument>(new PdfDocument(std::move(impl)));
}

int PdfDocument::pageCount() const
{
    return impl_->module->pageCount(impl_->document);
}

std::vector<Word> PdfDocument::pageWords(int index, bool* cutShort) const
{
    bool cut = false;
    std::vector<Word> words = impl_->module->pageWords(impl_->document, index, &cut);
    if (cutShort)
        *cutShort = cut;
    return words;
}

std::vector<OutlineEntry> PdfDocument::outline(std::size_t limit) const
{
    return impl_->module->outline(impl_->document, limit);
}

}  // namespace leafmill::extract::pdf
