// The peer of bench/ui/bench_controls_paint.cpp: Qt Widgets' counterparts of
// the everyday controls, at the same sizes with the same content, each
// painted whole into a QImage (QWidget::render) under the offscreen
// platform, with the same benchmark names. scripts/compare_controls.sh runs
// both in turn and prints the table.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace {

// With --repaint the widgets paint through their window's own backing store
// (QWidget::repaint, as on screen) instead of into an image.
bool ThroughBackingStore = false;

// Shows Make's widget alone in a window, then times painting it whole.
void PaintLoop(benchmark::State& State, const std::function<QWidget*(QWidget&)>& Make) {
    QWidget Window;
    Window.resize(640, 460);
    QWidget* Widget = Make(Window);
    Widget->move(10, 10);
    Window.show();
    QApplication::processEvents();
    QImage Image(Widget->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : State) {
        if (ThroughBackingStore)
            Widget->repaint();
        else
            Widget->render(&Image);
        benchmark::DoNotOptimize(Image.constBits());
    }
    State.SetItemsProcessed(State.iterations());
}

template <class T>
T* Place(QWidget& Parent, int Width, int Height) {
    auto* W = new T(&Parent);
    W->setFixedSize(Width, Height);
    return W;
}

#define QT_PAINT_BENCH(Name, ...)                                                                  \
    void BM_Paint_##Name(benchmark::State& State) {                                                \
        PaintLoop(State, [](QWidget & Window) -> QWidget* __VA_ARGS__);                            \
    }                                                                                              \
    BENCHMARK(BM_Paint_##Name)

QT_PAINT_BENCH(Button, {
    auto* W = Place<QPushButton>(Window, 90, 25);
    W->setText("OK");
    return W;
});

QT_PAINT_BENCH(CheckBox, {
    auto* W = Place<QCheckBox>(Window, 130, 17);
    W->setText("Show hints");
    W->setChecked(true);
    return W;
});

QT_PAINT_BENCH(RadioButton, {
    auto* W = Place<QRadioButton>(Window, 110, 17);
    W->setText("Small icons");
    W->setChecked(true);
    return W;
});

QT_PAINT_BENCH(RadioGroup, {
    auto* W = Place<QGroupBox>(Window, 300, 92);
    W->setTitle("Animation");
    auto* Grid = new QGridLayout(W);
    const char* Items[] = {"None", "Linear", "Accelerate", "Bounce", "Fade"};
    for (int I = 0; I < 5; ++I) {
        auto* Radio = new QRadioButton(Items[I]);
        Radio->setChecked(I == 2);
        Grid->addWidget(Radio, I % 3, I / 3);
    }
    return W;
});

QT_PAINT_BENCH(ProgressBar, {
    auto* W = Place<QProgressBar>(Window, 272, 18);
    W->setTextVisible(false);
    W->setValue(60);
    return W;
});

QT_PAINT_BENCH(TrackBar, {
    auto* W = Place<QSlider>(Window, 272, 45);
    W->setOrientation(Qt::Horizontal);
    W->setMaximum(20);
    W->setTickPosition(QSlider::TicksBelow);
    W->setTickInterval(2);
    W->setValue(13);
    return W;
});

QT_PAINT_BENCH(SpinEdit, {
    auto* W = Place<QSpinBox>(Window, 90, 24);
    W->setMaximum(999);
    W->setValue(42);
    return W;
});

QT_PAINT_BENCH(Edit, {
    auto* W = Place<QLineEdit>(Window, 150, 24);
    W->setText("Quarterly report");
    return W;
});

QT_PAINT_BENCH(ComboBox, {
    auto* W = Place<QComboBox>(Window, 150, 24);
    W->addItems({"Daily", "Weekly", "Monthly"});
    W->setCurrentIndex(1);
    return W;
});

QT_PAINT_BENCH(ListBox, {
    auto* W = Place<QListWidget>(Window, 200, 200);
    for (int I = 0; I < 30; ++I) W->addItem(QString("Entry %1").arg(I + 1));
    W->setCurrentRow(3);
    return W;
});

QT_PAINT_BENCH(Memo, {
    auto* W = Place<QPlainTextEdit>(Window, 300, 200);
    for (int I = 0; I < 40; ++I)
        W->appendPlainText(QString("Line %1 of the quarterly report").arg(I + 1));
    W->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    W->moveCursor(QTextCursor::Start);
    return W;
});

QT_PAINT_BENCH(StatusBar, {
    auto* W = Place<QStatusBar>(Window, 582, 19);
    W->setSizeGripEnabled(false);
    for (const char* Text : {"3 groups", "12 items", "Ready"}) {
        auto* Panel = new QLabel(Text);
        Panel->setFixedWidth(90);
        W->addWidget(Panel);
    }
    return W;
});

QT_PAINT_BENCH(ToolBar, {
    auto* W = Place<QToolBar>(Window, 300, 28);
    W->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char* Caption : {"New", "Open", "Save", "Cut", "Copy", "Paste"})
        W->addAction(Caption);
    return W;
});

QT_PAINT_BENCH(SpeedButton, {
    auto* W = Place<QToolButton>(Window, 25, 24);
    W->setText("B");
    W->setCheckable(true);
    W->setChecked(true);
    return W;
});

QT_PAINT_BENCH(Bevel, {
    auto* W = Place<QFrame>(Window, 300, 48);
    W->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return W;
});

QT_PAINT_BENCH(ScrollBox, {
    auto* W = Place<QScrollArea>(Window, 300, 200);
    auto* Inside = new QWidget;
    Inside->resize(280, 8 + 18 * 20);
    for (int I = 0; I < 20; ++I)
        (new QLabel(QString("Line %1").arg(I + 1), Inside))->move(8, 4 + 18 * I);
    W->setWidget(Inside);
    return W;
});

QT_PAINT_BENCH(StringGrid, {
    auto* W = Place<QTableWidget>(Window, 300, 200);
    W->setColumnCount(5);
    W->setRowCount(20);
    for (int Row = 0; Row < 20; ++Row)
        for (int Col = 0; Col < 5; ++Col)
            W->setItem(Row, Col, new QTableWidgetItem(QString("%1:%2").arg(Col).arg(Row)));
    return W;
});

QT_PAINT_BENCH(TreeView, {
    auto* W = Place<QTreeWidget>(Window, 300, 400);
    W->setHeaderHidden(true);
    for (int P = 0; P < 10; ++P) {
        auto* Parent = new QTreeWidgetItem(W, {QString("Folder %1").arg(P)});
        for (int I = 0; I < 9; ++I) new QTreeWidgetItem(Parent, {QString("Item %1").arg(I)});
        Parent->setExpanded(P < 2);
    }
    return W;
});

QT_PAINT_BENCH(ListViewReport, {
    auto* W = Place<QTreeWidget>(Window, 300, 400);
    W->setRootIsDecorated(false);
    W->setHeaderLabels({"Name", "Size", "Kind"});
    for (int C = 0; C < 3; ++C) W->setColumnWidth(C, 100);
    for (int I = 0; I < 100; ++I)
        new QTreeWidgetItem(
            W, {QString("File %1").arg(I), QString("%1 KB").arg(I * 7 % 1000), "Document"});
    return W;
});

} // namespace

int main(int argc, char** argv) {
    // No display needed: the widgets paint into images only.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication App(argc, argv);
    for (int I = 1; I < argc; ++I)
        if (std::strcmp(argv[I], "--repaint") == 0) {
            ThroughBackingStore = true;
            for (int J = I; J + 1 < argc; ++J) argv[J] = argv[J + 1];
            --argc;
            break;
        }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
