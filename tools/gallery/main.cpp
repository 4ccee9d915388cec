// Shows every drawn control in every state, and the skin pictures as the
// windows put them together, for looking at them by eye.
#include "controls/GfuBut.h"
#include "controls/Xp_ProgressBar.h"
#include "controls/xpcmdbutton.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include <initializer_list>
#include <tuple>

using namespace leafmill;

namespace {

QString Images;  // the program folder's images/, set once the application exists

QLabel* note(const QString& text, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    return label;
}

// Puts a control into the state a real pointer would: a move over it, then
// optionally a press. Controls marked "hover" or "pressed" get it once shown.
void pointAt(QWidget* control, QPoint where, Qt::MouseButton pressed)
{
    QMouseEvent move(QEvent::MouseMove, where, control->mapToGlobal(where), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(control, &move);
    if (pressed == Qt::NoButton)
        return;
    QMouseEvent press(QEvent::MouseButtonPress, where, control->mapToGlobal(where), pressed, pressed, {});
    QApplication::sendEvent(control, &press);
}

void addBars(QWidget* page, int top)
{
    note(QStringLiteral("Xp_ProgressBar: the eight looks, chunk style"), page, 10, top);
    for (int look = 0; look < 8; ++look) {
        auto* bar = new Xp_ProgressBar(page);
        bar->setGeometry(10, top + 20 + look * 22, 293, 17);
        bar->setProgressLook(look);
        bar->setValue(30 + look * 10);
        note(QStringLiteral("look %1, value %2").arg(look).arg(30 + look * 10), page, 312, top + 21 + look * 22);
    }
    const int below = top + 20 + 8 * 22;
    note(QStringLiteral("empty, full (cut last chunk), a look change at 50, marquee"), page, 10, below);
    auto* empty = new Xp_ProgressBar(page);
    empty->setGeometry(10, below + 20, 293, 17);
    auto* full = new Xp_ProgressBar(page);
    full->setGeometry(10, below + 42, 293, 17);
    full->setValue(100);
    auto* mixed = new Xp_ProgressBar(page);
    mixed->setGeometry(10, below + 64, 293, 17);
    mixed->setValue(50);
    mixed->setProgressLook(7);
    mixed->setValue(80);
    auto* marquee = new Xp_ProgressBar(page);
    marquee->setGeometry(10, below + 86, 293, 17);
    marquee->setBarStyle(1);
    for (int v = 1; v <= 20; ++v)
        marquee->setValue(v);
}

void addButtons(QWidget* page, int left, int top)
{
    note(QStringLiteral("xpcmdbutton: normal, hover, pressed, disabled"), page, left, top);
    const char* states[] = {"Normal", "Hover", "Pressed", "Disabled"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new xpcmdbutton(QStringLiteral("Command%1").arg(i + 1), page);
        button->setGeometry(left, top + 20 + i * 31, 111, 25);
        button->setBackColor(QColor(0xE0, 0xE0, 0xE0));
        button->setCaption(QString::fromLatin1(states[i]));
        if (i == 1)
            button->setObjectName(QStringLiteral("hover"));
        if (i == 2)
            button->setObjectName(QStringLiteral("pressed"));
        if (i == 3)
            button->setEnabled(false);
    }
    auto* output = new xpcmdbutton(QStringLiteral("Cmd_Output"), page);
    output->setGeometry(left + 122, top + 20, 132, 25);
    output->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    QFont bold(QStringLiteral("Tahoma"), 9);
    bold.setBold(true);
    output->setCaptionFont(bold);
    output->setForeColor(QColor(0xFF, 0, 0));
    output->setCaption(QStringLiteral("Output"));
    auto* low = new xpcmdbutton(QStringLiteral("Cmd_Low"), page);
    low->setGeometry(left + 122, top + 51, 132, 20);
    low->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    low->setCaption(QStringLiteral("20 pixels high"));
    auto* wide = new xpcmdbutton(QStringLiteral("Cmd_StopOutput"), page);
    wide->setGeometry(left + 122, top + 82, 220, 25);
    wide->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    wide->setCaption(QStringLiteral("Stop output"));
}

void addImageButtons(QWidget* page, int left, int top)
{
    note(QStringLiteral("GfuBut: normal and hover; a missing picture shows black"), page, left, top);
    int x = left;
    for (const char* name : {"arrup", "arrdown", "min", "iclose", "missing"}) {
        const bool small = QString::fromLatin1(name) == "min" || QString::fromLatin1(name) == "iclose";
        for (int hover = 0; hover < 2; ++hover) {
            auto* button = new GfuBut(QString::fromLatin1(name), Images, page);
            button->setGeometry(x, top + 20, small ? 16 : 31, small ? 16 : 30);
            if (hover)
                button->setObjectName(QStringLiteral("hover"));
            x += (small ? 16 : 31) + 6;
        }
        x += 8;
    }
}

// The title bar as the windows build it: stretched background, icon, shadowed title, buttons.
void addTitleBar(QWidget* page, int left, int top)
{
    note(QStringLiteral("Title bar (tbk.gif, tit.gif, min, iclose)"), page, left, top);
    auto* frame = new QWidget(page);
    frame->setGeometry(left, top + 20, 382, 24);
    frame->setStyleSheet(QStringLiteral("background: black"));
    auto* bar = new QLabel(frame);
    bar->setGeometry(1, 0, 380, 21);
    bar->setScaledContents(true);
    bar->setPixmap(QPixmap(Images + QStringLiteral("/tbk.gif")));
    auto* icon = new QLabel(frame);
    icon->setGeometry(4, 3, 16, 16);
    icon->setPixmap(QPixmap(Images + QStringLiteral("/tit.gif")));
    const QFont title(QStringLiteral("Tahoma"), 9);
    for (auto [x, y, colour] : {std::tuple {25, 5, "white"}, {24, 4, "black"}}) {
        auto* caption = new QLabel(QStringLiteral("Leafmill 1.60"), frame);
        caption->setFont(title);
        caption->setStyleSheet(QStringLiteral("background: transparent; color: %1").arg(QString::fromLatin1(colour)));
        caption->move(x, y);
    }
    (new GfuBut(QStringLiteral("min"), Images, frame))->setGeometry(344, 4, 16, 16);
    (new GfuBut(QStringLiteral("iclose"), Images, frame))->setGeometry(362, 4, 16, 16);
}

// The splash picture with its home-page label at the top right.
void addSplash(QWidget* page, int left, int top)
{
    auto* splash = new QLabel(page);
    splash->setGeometry(left, top, 212, 356);
    splash->setStyleSheet(QStringLiteral("background: white"));
    splash->setPixmap(QPixmap(Images + QStringLiteral("/loading.jpg")));
    splash->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* label = new QLabel(QStringLiteral("leafmill.example.org\nVer: 1.60"), splash);
    QFont bold(QStringLiteral("Tahoma"));
    bold.setPointSizeF(7.5);
    bold.setBold(true);
    label->setFont(bold);
    label->setStyleSheet(QStringLiteral("background: transparent"));
    label->setAlignment(Qt::AlignRight);
    label->adjustSize();
    label->move(212 - label->width() - 8, 10);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Images = QCoreApplication::applicationDirPath() + QStringLiteral("/images");
    QWidget page;
    page.setWindowTitle(QStringLiteral("Leafmill controls"));
    page.setFont(QFont(QStringLiteral("Tahoma"), 9));
    page.setAutoFillBackground(true);
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    page.setPalette(palette);
    page.setGeometry(0, 0, 1010, 560);
    addBars(&page, 10);
    addButtons(&page, 10, 320);
    addImageButtons(&page, 420, 10);
    addTitleBar(&page, 420, 80);
    addSplash(&page, 790, 140);
    page.show();
    for (QWidget* control : page.findChildren<QWidget*>(QStringLiteral("hover")))
        pointAt(control, {5, 5}, Qt::NoButton);
    for (QWidget* control : page.findChildren<QWidget*>(QStringLiteral("pressed")))
        pointAt(control, {40, 10}, Qt::LeftButton);
    return app.exec();
}
