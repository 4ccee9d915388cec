#include "controls/Mnemonic.h"

#include <QRegularExpression>

namespace leafmill {

namespace {

// Calls `plain` for each run of shown text and `marked` for the letter after a
// single "&"; "&&" shows as "&".
template <typename Plain, typename Marked> void walkCaption(const QString& caption, Plain plain, Marked marked)
{
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&' || i + 1 == caption.size()) {
            plain(caption[i]);
        } else if (caption[i + 1] == u'&') {
            plain(caption[++i]);
        } else {
            marked(caption[++i]);
        }
    }
}

}  // namespace

QString withoutMnemonic(const QString& caption)
{
    // A letter added in brackets only to be the mnemonic goes with them.
    static const QRegularExpression addedLetter(QStringLiteral("\\s*\\(&[^&]\\)"));
    QString shown;
    const auto append = [&shown](QChar c) { shown += c; };
    walkCaption(QString(caption).remove(addedLetter), append, append);
    return shown;
}

QString mnemonicRichText(const QString& caption)
{
    QString html;
    bool anyMarked = false;
    walkCaption(
        caption, [&html](QChar c) { html += QString(c).toHtmlEscaped(); },
        [&](QChar c) {
            anyMarked = true;
            html += QStringLiteral("<u>") + QString(c).toHtmlEscaped() + QStringLiteral("</u>");
        });
    // Blanks stay as typed, as in a plain caption.
    return anyMarked ? QStringLiteral("<span style=\"white-space:pre\">") + html + QStringLiteral("</span>")
                     : QString();
}

}  // namespace leafmill
