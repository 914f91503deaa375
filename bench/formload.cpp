// Reading a form of 1 000 controls (500 labels and 500 buttons, each with a
// caption and a hint) and showing it, two ways in one program:
//   - the component model: TCustomForm::Create reads the form's binary
//     resource (made from its text form here) and Show creates the widgets;
//   - Qt's own way: QUiLoader loads the same form as a .ui document and the
//     widget is shown.
// Each iteration ends with the window shown and the pending events handled,
// and frees it. Goal: the component model at most 0.6 x Qt's time.
// Also the memory a label control takes beside a bare QWidget.

#include "platform/classes/FormText.h"
#include "platform/classes/Resources.h"
#include "platform/classes/Streams.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QUiLoader>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

namespace orlo {

class TBigForm : public TForm {
    ORLO_CLASS(TBigForm, TForm)
public:
    explicit TBigForm(TComponent* AOwner) : TForm(AOwner) {}
};

ORLO_PUBLISHED(TBigForm, "FormLoadBench") {}

namespace {

constexpr int PairCount = 500; // a label and a button each
constexpr int Columns = 10;

struct TPlace {
    int Left, Top;
};

TPlace LabelPlace(int I) {
    return {(I % Columns) * 100, (I / Columns) * 40};
}
TPlace ButtonPlace(int I) {
    return {(I % Columns) * 100, (I / Columns) * 40 + 18};
}

String DfmText() {
    String Text = "object BigForm: TBigForm\n  Left = 0\n  Top = 0\n  AutoScroll = False\n"
                  "  Caption = 'Big form'\n  ClientHeight = 2000\n  ClientWidth = 1000\n";
    for (int I = 0; I < PairCount; ++I) {
        const TPlace L = LabelPlace(I), B = ButtonPlace(I);
        Text += Format("  object Label%d: TLabel\n    Left = %d\n    Top = %d\n    Width = 96\n"
                       "    Height = 16\n    Hint = 'Hint of label %d'\n"
                       "    Caption = 'Label %d'\n  end\n",
                       I, L.Left, L.Top, I, I);
        Text += Format("  object Button%d: TButton\n    Left = %d\n    Top = %d\n    Width = 96\n"
                       "    Height = 22\n    Hint = 'Hint of button %d'\n"
                       "    Caption = 'Button %d'\n    TabOrder = %d\n  end\n",
                       I, B.Left, B.Top, I, I, I);
    }
    return Text + "end\n";
}

QByteArray UiText() {
    QByteArray Text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                      "<class>BigForm</class>\n<widget class=\"QWidget\" name=\"BigForm\">\n"
                      "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>1000</width>"
                      "<height>2000</height></rect></property>\n"
                      "<property name=\"windowTitle\"><string>Big form</string></property>\n";
    const auto Widget = [&](const char* Class, const String& Name, TPlace P, int Height,
                            const String& Caption, const String& Hint) {
        Text += Format("<widget class=\"%s\" name=\"%s\"><property name=\"geometry\"><rect>"
                       "<x>%d</x><y>%d</y><width>96</width><height>%d</height></rect></property>"
                       "<property name=\"toolTip\"><string>%s</string></property>"
                       "<property name=\"text\"><string>%s</string></property></widget>\n",
                       Class, Name, P.Left, P.Top, Height, Hint, Caption)
                    .c_str();
    };
    for (int I = 0; I < PairCount; ++I) {
        Widget("QLabel", Format("Label%d", I), LabelPlace(I), 16, Format("Label %d", I),
               Format("Hint of label %d", I));
        Widget("QPushButton", Format("Button%d", I), ButtonPlace(I), 22, Format("Button %d", I),
               Format("Hint of button %d", I));
    }
    return Text + "</widget>\n</ui>\n";
}

// The binary form, registered as the resource of TBigForm for as long as it lives.
class TBigFormResource {
public:
    TBigFormResource() {
        RegisterClasses({TLabel::StaticClass(), TButton::StaticClass()});
        const String Text = DfmText();
        TMemoryStream Input;
        Input.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
        Input.SetPosition(0);
        TMemoryStream Output;
        ObjectTextToBinary(&Input, &Output);
        FBytes.assign(Output.Memory(), Output.Memory() + Output.Size());
        RegisterComponentResource("TBigForm", FBytes.data(), FBytes.size());
    }
    ~TBigFormResource() { UnregisterComponentResource("TBigForm", FBytes.data()); }

private:
    std::vector<Byte> FBytes;
};

void BM_LoadAndShowForm_Glossa(benchmark::State& State) {
    Application->Initialize();
    TBigFormResource Resource;
    for (auto _ : State) {
        std::unique_ptr<TBigForm> Form(TCustomForm::Create<TBigForm>(nullptr));
        Form->Show();
        QCoreApplication::processEvents();
        if (Form->ComponentCount() != 2 * PairCount)
            State.SkipWithError("the form lost controls");
    }
    State.counters["controls"] = 2 * PairCount;
}

void BM_LoadAndShowForm_QUiLoader(benchmark::State& State) {
    Application->Initialize();
    const QByteArray Ui = UiText();
    QUiLoader Loader;
    for (auto _ : State) {
        QBuffer Buffer;
        Buffer.setData(Ui);
        Buffer.open(QIODevice::ReadOnly);
        std::unique_ptr<QWidget> Form(Loader.load(&Buffer));
        if (!Form)
            State.SkipWithError("QUiLoader failed");
        Form->show();
        QCoreApplication::processEvents();
        if (Form->children().size() < 2 * PairCount)
            State.SkipWithError("the form lost widgets");
    }
    State.counters["controls"] = 2 * PairCount;
}

BENCHMARK(BM_LoadAndShowForm_Glossa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndShowForm_QUiLoader)->Unit(benchmark::kMillisecond);

// --- Memory per control -----------------------------------------------------------

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

constexpr int MemoryCount = 2000;

// Bytes on the heap per shown control, made by Make into a shown window.
template <class Make> double BytesPerControl(Make&& MakeOne) {
    const size_t Before = HeapInUse();
    MakeOne();
    return double(HeapInUse() - Before) / MemoryCount;
}

void BM_MemoryPerControl(benchmark::State& State) {
    Application->Initialize();
    double Label = 0, Bare = 0;
    for (auto _ : State) {
        auto Form = std::make_unique<TForm>(nullptr);
        Form->Show();
        QCoreApplication::processEvents();
        Label = BytesPerControl([&] {
            for (int I = 0; I < MemoryCount; ++I) {
                auto* Control = new TLabel(Form.get());
                Control->SetCaption("Label");
                Control->SetParent(Form.get());
            }
            QCoreApplication::processEvents();
        });
        auto Window = std::make_unique<QWidget>();
        Window->show();
        QCoreApplication::processEvents();
        Bare = BytesPerControl([&] {
            for (int I = 0; I < MemoryCount; ++I)
                (new QWidget(Window.get()))->show();
            QCoreApplication::processEvents();
        });
    }
    State.counters["TLabel_bytes"] = Label;
    State.counters["QWidget_bytes"] = Bare;
}

BENCHMARK(BM_MemoryPerControl)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orlo
