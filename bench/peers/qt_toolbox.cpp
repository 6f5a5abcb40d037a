// The peer of the gallery's vertical bar for scripts/measure_hover.sh: a Qt
// tool box laid out as the gallery lays out its bar, so that the same
// pointer moves cause the same hover changes in both. The window has the
// gallery's size and a title the script finds it by; the tool box lies at
// (10, 10), 240 wide and 500 high, its first page open with a vertical
// gradient behind twelve large tool buttons (a picture above a caption) that
// raise their frame under the pointer, the way the bar frames its hovered
// item. Three more pages stand below, each with one button. The pictures
// are drawn here (plain shapes in a few colours), as the bar's benchmarks
// draw theirs.
//
//   qt_toolbox [--item-pitch N]
//
// With the default pitch of 70 pixels the first two buttons' pictures lie
// at y = 60 and y = 130 of the window, where the script moves the pointer.

#include <QApplication>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdlib>
#include <cstring>

namespace {

QIcon Picture(int Index) {
    static const QColor Colours[] = {QColor(200, 60, 40), QColor(40, 140, 60), QColor(40, 80, 190),
                                     QColor(200, 170, 30), QColor(120, 50, 160)};
    QPixmap Pixmap(32, 32);
    Pixmap.fill(Qt::transparent);
    QPainter P(&Pixmap);
    P.setRenderHint(QPainter::Antialiasing);
    P.setBrush(Colours[Index % 5]);
    P.setPen(Qt::black);
    if (Index % 2)
        P.drawEllipse(2, 2, 28, 28);
    else
        P.drawRoundedRect(3, 3, 26, 26, 5, 5);
    return QIcon(Pixmap);
}

QToolButton* Item(const QString& Caption, int Index, int Pitch) {
    auto* Button = new QToolButton;
    Button->setText(Caption);
    Button->setIcon(Picture(Index));
    Button->setIconSize(QSize(32, 32));
    Button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Button->setAutoRaise(true);
    Button->setFixedSize(120, Pitch - 8);
    return Button;
}

// A page whose background runs from a light blue at the top to a dark one
// at the bottom, painted by the page as the bar paints a group with a
// gradient background.
class TGradientPage : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QLinearGradient Gradient(0, 0, 0, height());
        Gradient.setColorAt(0, QColor(0xD0, 0xE0, 0xF0));
        Gradient.setColorAt(1, QColor(0x40, 0x60, 0x90));
        QPainter(this).fillRect(rect(), Gradient);
    }
};

QWidget* Page(int Items, int Pitch) {
    auto* Page = new TGradientPage;
    auto* Column = new QVBoxLayout(Page);
    Column->setContentsMargins(0, 4, 0, 4);
    Column->setSpacing(8);
    for (int I = 0; I < Items; ++I)
        Column->addWidget(Item(QString("Item %1").arg(I), I, Pitch), 0, Qt::AlignHCenter);
    Column->addStretch(1);
    return Page;
}

} // namespace

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    int Pitch = 70;
    for (int I = 1; I + 1 < argc; ++I)
        if (std::strcmp(argv[I], "--item-pitch") == 0) Pitch = std::atoi(argv[I + 1]);

    QWidget Window;
    Window.setWindowTitle("Folio bar gallery (Qt tool box peer)");
    Window.resize(700, 560);
    auto* Box = new QToolBox(&Window);
    Box->setGeometry(10, 10, 240, 500);
    Box->addItem(Page(12, Pitch), "Mail");
    for (const char* Caption : {"Calendar", "Places", "Notes"})
        Box->addItem(Page(1, Pitch), Caption);
    Box->setCurrentIndex(0);
    Window.show();
    return App.exec();
}
