#include "platform/forms/Graphics.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/forms/QtSupport.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QStyle>

#include <cmath>

namespace orlo {

// --- Colours -----------------------------------------------------------------

namespace {

constexpr TIdentMapEntry ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

constexpr TIdentMapEntry CharsetNames[] = {
    {0, "ANSI_CHARSET"},     {1, "DEFAULT_CHARSET"},      {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},     {128, "SHIFTJIS_CHARSET"},   {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},  {134, "GB2312_CHARSET"},     {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},  {162, "TURKISH_CHARSET"},    {177, "HEBREW_CHARSET"},
    {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"},     {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"},   {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

// Palette roles that stand in for the system colours, by index.
QPalette::ColorRole SystemColorRole(Integer Index) {
    switch (Index) {
    case 5: // clWindow
        return QPalette::Base;
    case 7: // clMenuText
    case 8: // clWindowText
    case 9: // clCaptionText
        return QPalette::WindowText;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 16:
        return QPalette::Mid;
    case 17:
        return QPalette::PlaceholderText;
    case 18:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light;
    case 21:
        return QPalette::Shadow;
    case 22:
        return QPalette::Midlight;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    case 15: // clBtnFace
        return QPalette::Button;
    default:
        return QPalette::Window;
    }
}

} // namespace

const TTypeInfo* TColorTypeInfo() {
    static const TTypeInfo Info = [] {
        TTypeInfo I =
            MakeOrdinalTypeInfo("TColor", tkInteger, otSLong, -0x7FFFFFFF - 1, 0x7FFFFFFF);
        return I;
    }();
    static const bool Registered = (RegisterIntegerConsts(&Info, ColorNames), true);
    (void)Registered;
    return &Info;
}

const TTypeInfo* TFontCharsetTypeInfo() {
    static const TTypeInfo Info = MakeOrdinalTypeInfo("TFontCharset", tkInteger, otUByte, 0, 255);
    static const bool Registered = (RegisterIntegerConsts(&Info, CharsetNames), true);
    (void)Registered;
    return &Info;
}

QColor ColorToQColor(TColor Color) {
    const auto Bits = static_cast<Cardinal>(Color);
    if (Bits & 0x80000000u) {
        const QPalette Palette = IsWidgetApplication() ? QApplication::palette() : QPalette();
        return Palette.color(SystemColorRole(static_cast<Integer>(Bits & 0xFF)));
    }
    return QColor(Bits & 0xFF, (Bits >> 8) & 0xFF, (Bits >> 16) & 0xFF);
}

String ColorToString(TColor Color) {
    if (std::optional<String> Name = IntToIdent(TColorTypeInfo(), Color))
        return *Name;
    return Format("$%.8x", Integer(Color));
}

// --- TFont -------------------------------------------------------------------

ORLO_PUBLISHED(TFont, "Graphics") {
    P.Property("Charset", &TFont::Charset, &TFont::SetCharset).Type(TFontCharsetTypeInfo());
    P.Property("Color", &TFont::Color, &TFont::SetColor).Type(TColorTypeInfo());
    P.Property("Height", &TFont::Height, &TFont::SetHeight);
    P.Property("Name", &TFont::Name, &TFont::SetName);
    P.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    P.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    P.Property("Style", &TFont::Style, &TFont::SetStyle);
}

void TFont::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TFont*>(Source);
    if (!Other)
        return TPersistent::Assign(Source);
    if (Equals(*Other))
        return;
    FCharset = Other->FCharset;
    FColor = Other->FColor;
    FHeight = Other->FHeight;
    FName = Other->FName;
    FPitch = Other->FPitch;
    FStyle = Other->FStyle;
    Changed();
}

template <class T> static bool Change(T& Field, const T& Value) {
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

void TFont::SetCharset(TFontCharset Value) {
    if (Change(FCharset, Value))
        Changed();
}
void TFont::SetColor(TColor Value) {
    if (Change(FColor, Value))
        Changed();
}
void TFont::SetHeight(Integer Value) {
    if (Change(FHeight, Value))
        Changed();
}
void TFont::SetName(const String& Value) {
    if (!Value.empty() && Change(FName, Value))
        Changed();
}
void TFont::SetPitch(TFontPitch Value) {
    if (Change(FPitch, Value))
        Changed();
}
void TFont::SetStyle(TFontStyles Value) {
    if (Change(FStyle, Value))
        Changed();
}

Integer TFont::Size() const noexcept {
    return static_cast<Integer>(
        std::lround(-static_cast<double>(FHeight) * 72 / ScreenPixelsPerInch));
}

void TFont::SetSize(Integer Value) {
    SetHeight(
        -static_cast<Integer>(std::lround(static_cast<double>(Value) * ScreenPixelsPerInch / 72)));
}

bool TFont::Equals(const TFont& Other) const noexcept {
    return FCharset == Other.FCharset && FColor == Other.FColor && FHeight == Other.FHeight &&
           FName == Other.FName && FPitch == Other.FPitch && FStyle == Other.FStyle;
}

QFont TFont::ToQFont() const {
    QFont Font(ToQString(FName));
    Font.setPixelSize(std::max(1, std::abs(FHeight)));
    Font.setBold(FStyle.Contains(fsBold));
    Font.setItalic(FStyle.Contains(fsItalic));
    Font.setUnderline(FStyle.Contains(fsUnderline));
    Font.setStrikeOut(FStyle.Contains(fsStrikeOut));
    if (FPitch == fpFixed)
        Font.setFixedPitch(true);
    return Font;
}

void TFont::Changed() {
    if (OnChange)
        OnChange(this);
}

// --- TCanvas -----------------------------------------------------------------

ORLO_UNPUBLISHED(TCanvas, "Graphics")

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

Integer TCanvas::TextWidth(const String& Text) const {
    return TextExtent(Text).X;
}
Integer TCanvas::TextHeight(const String& Text) const {
    return TextExtent(Text).Y;
}

TPoint TCanvas::TextExtent(const String& Text) const {
    NeedWidgetApplication();
    QFontMetrics Metrics(FFont->ToQFont());
    return TPoint{Metrics.horizontalAdvance(ToQString(Text)), Metrics.height()};
}

TPoint TCanvas::WrappedTextExtent(const String& Text, Integer MaxWidth) const {
    NeedWidgetApplication();
    QFontMetrics Metrics(FFont->ToQFont());
    QRect Box =
        Metrics.boundingRect(QRect(0, 0, std::max(1, MaxWidth), 1 << 20),
                             Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, ToQString(Text));
    return TPoint{Box.width(), Box.height()};
}

QPainter& TCanvas::Painter() const {
    if (!FHandle)
        throw EInvalidOperation("Canvas does not allow drawing");
    return *FHandle;
}

void TCanvas::FillRect(const TRect& Rect) {
    Painter().fillRect(QRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()),
                       ColorToQColor(FBrush.Color));
}

void TCanvas::TextOut(Integer X, Integer Y, const String& Text) {
    const TPoint Size = TextExtent(Text);
    TextRect(TRect{X, Y, X + Size.X, Y + Size.Y}, X, Y, Text);
}

void TCanvas::TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text) {
    QPainter& P = Painter();
    const QRect Area(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    if (FBrush.Style == bsSolid)
        P.fillRect(Area, ColorToQColor(FBrush.Color));
    P.save();
    P.setClipRect(Area, Qt::IntersectClip);
    P.setFont(FFont->ToQFont());
    P.setPen(ColorToQColor(FFont->Color()));
    const QFontMetrics Metrics(P.font());
    P.drawText(QPoint(X, Y + Metrics.ascent()), ToQString(Text));
    P.restore();
}

// --- TGraphic ----------------------------------------------------------------

ORLO_UNPUBLISHED(TGraphic, "Graphics")
ORLO_UNPUBLISHED(TBitmap, "Graphics")
ORLO_UNPUBLISHED(TIcon, "Graphics")

namespace {

std::vector<Byte> ReadRest(TStream* Stream) {
    std::vector<Byte> Bytes(static_cast<size_t>(Stream->Size() - Stream->Position()));
    if (!Bytes.empty())
        Stream->ReadBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    return Bytes;
}

std::vector<Byte> Encode(const QImage& Image, const char* Format) {
    QByteArray Data;
    QBuffer Buffer(&Data);
    Buffer.open(QIODevice::WriteOnly);
    Image.save(&Buffer, Format);
    return std::vector<Byte>(Data.begin(), Data.end());
}

} // namespace

void TGraphic::SetImage(const QImage& Value) {
    FImage = Value;
    FBytes.clear();
    Changed();
}

void TGraphic::Clear() {
    SetImage(QImage());
}

void TGraphic::LoadFromFile(const String& FileName) {
    TFileStream Stream(FileName, fmOpenRead);
    SetBytes(ReadRest(&Stream), nullptr);
}

void TGraphic::SaveToFile(const String& FileName) const {
    std::vector<Byte> Bytes = FileBytes();
    TMemoryStream Data;
    if (!Bytes.empty())
        Data.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    Data.SaveToFile(FileName);
}

std::vector<Byte> TGraphic::FileBytes() const {
    return FBytes.empty() && !FImage.isNull() ? Encode(FImage, FileFormat()) : FBytes;
}

void TGraphic::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TGraphic*>(Source);
    if (!Other)
        return TPersistent::Assign(Source);
    FBytes = Other->FBytes;
    FImage = Other->FImage;
    Changed();
}

void TGraphic::DefineProperties(TFiler* Filer) {
    Filer->DefineBinaryProperty(
        "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); },
        !Empty());
}

void TGraphic::SetBytes(std::vector<Byte> Bytes, const char* Format) {
    QImage Image;
    if (!Bytes.empty()) {
        NeedWidgetApplication();
        if (!Image.loadFromData(Bytes.data(), static_cast<int>(Bytes.size()), Format))
            throw EInvalidGraphic("Invalid graphic format");
    }
    FImage = Image;
    FBytes = std::move(Bytes);
    Changed();
}

void TGraphic::Changed() {
    if (OnChange)
        OnChange(this);
}

void TBitmap::ReadData(TStream* Stream) {
    Integer Size = 0;
    Stream->ReadBuffer(&Size, 4);
    if (Size < 0 || Size > Stream->Size() - Stream->Position())
        throw EInvalidGraphic("Invalid graphic format");
    std::vector<Byte> Bytes(static_cast<size_t>(Size));
    if (Size > 0)
        Stream->ReadBuffer(Bytes.data(), Size);
    SetBytes(std::move(Bytes), "BMP");
}

void TBitmap::WriteData(TStream* Stream) const {
    std::vector<Byte> Bytes = FileBytes();
    Integer Size = static_cast<Integer>(Bytes.size());
    Stream->WriteBuffer(&Size, 4);
    if (Size > 0)
        Stream->WriteBuffer(Bytes.data(), Size);
}

void TIcon::ReadData(TStream* Stream) {
    SetBytes(ReadRest(Stream), "ICO");
    FSystemIcon = {};
}

void TIcon::WriteData(TStream* Stream) const {
    std::vector<Byte> Bytes = FileBytes();
    if (!Bytes.empty())
        Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

void TIcon::LoadSystemIcon(TSystemIcon Icon) {
    SetImage(SystemIconImage(Icon));
    FSystemIcon = Icon;
}

QImage SystemIconImage(TSystemIcon Icon, Integer Size) {
    NeedWidgetApplication();
    QStyle::StandardPixmap Pixmap = QStyle::SP_DesktopIcon;
    switch (Icon) {
    case IDI_HAND:
        Pixmap = QStyle::SP_MessageBoxCritical;
        break;
    case IDI_QUESTION:
        Pixmap = QStyle::SP_MessageBoxQuestion;
        break;
    case IDI_EXCLAMATION:
        Pixmap = QStyle::SP_MessageBoxWarning;
        break;
    case IDI_ASTERISK:
        Pixmap = QStyle::SP_MessageBoxInformation;
        break;
    case IDI_APPLICATION:
        Pixmap = QStyle::SP_TitleBarMenuButton;
        break;
    default:
        throw EInvalidGraphic(Format("Unknown system icon %d", Integer(Icon)));
    }
    return QApplication::style()->standardIcon(Pixmap).pixmap(Size, Size).toImage();
}

// --- TPicture ----------------------------------------------------------------

ORLO_UNPUBLISHED(TPicture, "Graphics")

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

template <class G> G* TPicture::Need() {
    if (auto* Existing = dynamic_cast<G*>(FGraphic.get()))
        return Existing;
    auto Graphic = std::make_unique<G>();
    Graphic->OnChange = TNotifyEvent::Make<&TPicture::GraphicChanged>(this);
    FGraphic = std::move(Graphic);
    return static_cast<G*>(FGraphic.get());
}

TBitmap* TPicture::Bitmap() {
    return Need<TBitmap>();
}
TIcon* TPicture::Icon() {
    return Need<TIcon>();
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (!Value) {
        FGraphic.reset();
    } else if (dynamic_cast<TIcon*>(Value)) {
        Icon()->Assign(Value);
    } else {
        Bitmap()->Assign(Value);
    }
    Changed();
}

void TPicture::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TPicture*>(Source))
        return SetGraphic(Other->Graphic());
    if (auto* Graphic = dynamic_cast<TGraphic*>(Source))
        return SetGraphic(Graphic);
    TPersistent::Assign(Source);
}

void TPicture::DefineProperties(TFiler* Filer) {
    Filer->DefineBinaryProperty(
        "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); },
        FGraphic && !FGraphic->Empty());
}

void TPicture::ReadData(TStream* Stream) {
    Byte Length = 0;
    Stream->ReadBuffer(&Length, 1);
    String ClassName(Length, '\0');
    if (Length > 0)
        Stream->ReadBuffer(ClassName.data(), Length);
    if (SameText(ClassName, "TIcon"))
        Icon()->ReadData(Stream);
    else if (SameText(ClassName, "TBitmap"))
        Bitmap()->ReadData(Stream);
    else
        throw EInvalidGraphic(Format("Unknown picture kind %s", ClassName));
}

void TPicture::WriteData(TStream* Stream) const {
    const String& ClassName = FGraphic->ClassName();
    Byte Length = static_cast<Byte>(ClassName.size());
    Stream->WriteBuffer(&Length, 1);
    Stream->WriteBuffer(ClassName.data(), Length);
    FGraphic->WriteData(Stream);
}

void TPicture::GraphicChanged(TObject*) {
    Changed();
}

void TPicture::Changed() {
    if (OnChange)
        OnChange(this);
}

} // namespace orlo
