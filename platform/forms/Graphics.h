#pragma once
// Colours, fonts, text measuring and pictures: TColor, TFont, TCanvas,
// TGraphic with TBitmap and TIcon (the standard system icons among them),
// TPicture.

#include "platform/classes/Persistent.h"
#include "platform/classes/TypInfo.h"

#include <QColor>
#include <QFont>
#include <QImage>

class QPainter;

#include <memory>
#include <vector>

namespace orlo {

class TStream;

// --- Colours -----------------------------------------------------------------

// 0x00BBGGRR, or a system colour: the high bit set and the colour's index below.
using TColor = Integer;

constexpr TColor RGB(Byte R, Byte G, Byte B) {
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}
constexpr TColor SystemColor(Integer Index) {
    return static_cast<TColor>(0x80000000u | static_cast<Cardinal>(Index));
}

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Type information of TColor: an integer streamed by name where it has one.
const TTypeInfo* TColorTypeInfo();
// The colour as Qt draws it; system colours come from the application's palette.
QColor ColorToQColor(TColor Color);
String ColorToString(TColor Color); // "clBtnFace", or "$00BBGGRR"

// --- Fonts -------------------------------------------------------------------

ORLO_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
ORLO_SET(TFontStyles, TFontStyle)
ORLO_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

using TFontCharset = Integer; // 0..255
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
const TTypeInfo* TFontCharsetTypeInfo();

// The resolution that font sizes in points convert with.
constexpr Integer ScreenPixelsPerInch = 96;

class TFont : public TPersistent {
    ORLO_CLASS(TFont, TPersistent)
public:
    TFont() = default;
    void Assign(TPersistent* Source) override;

    TFontCharset Charset() const noexcept { return FCharset; }
    void SetCharset(TFontCharset Value);
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);
    // Negative: character height in pixels; the form files store this.
    Integer Height() const noexcept { return FHeight; }
    void SetHeight(Integer Value);
    const String& Name() const noexcept { return FName; }
    void SetName(const String& Value);
    TFontPitch Pitch() const noexcept { return FPitch; }
    void SetPitch(TFontPitch Value);
    Integer Size() const noexcept; // points
    void SetSize(Integer Value);
    TFontStyles Style() const noexcept { return FStyle; }
    void SetStyle(TFontStyles Value);

    bool Equals(const TFont& Other) const noexcept;
    QFont ToQFont() const;

    // Called after every change.
    TNotifyEvent OnChange;

private:
    void Changed();

    TFontCharset FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    Integer FHeight = -11;
    String FName = "MS Sans Serif";
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle;
};

// --- Drawing and text measuring ---------------------------------------------

ORLO_ENUM(TBrushStyle, bsSolid, bsClear)

// What a canvas fills with.
struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// A surface to measure text for and, while its owner paints, to draw on.
class TCanvas : public TPersistent {
    ORLO_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    TFont* Font() const noexcept { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TBrush& Brush() noexcept { return FBrush; }

    // The painter that drawing goes to: set by the owner for the time of a
    // paint, nil otherwise.
    QPainter* Handle() const noexcept { return FHandle; }
    void SetHandle(QPainter* Painter) noexcept { FHandle = Painter; }

    // Drawing without a painter raises EInvalidOperation "Canvas does not allow drawing".
    void FillRect(const TRect& Rect);
    // The text with its top left corner at X, Y, on the brush unless it is clear.
    void TextOut(Integer X, Integer Y, const String& Text);
    // Like TextOut, cut off at Rect, which is filled with the brush first.
    void TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text);

    Integer TextWidth(const String& Text) const;
    Integer TextHeight(const String& Text) const;
    TPoint TextExtent(const String& Text) const;
    // The size Text takes when broken into lines no wider than MaxWidth
    // (lines also break at line breaks).
    TPoint WrappedTextExtent(const String& Text, Integer MaxWidth) const;

private:
    QPainter& Painter() const;

    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    TBrush FBrush;
    QPainter* FHandle = nullptr;
};

// --- Pictures ----------------------------------------------------------------

// The standard system icons, by the numbers programs load them with.
enum TSystemIcon : Integer {
    IDI_APPLICATION = 32512,
    IDI_HAND = 32513,
    IDI_QUESTION = 32514,
    IDI_EXCLAMATION = 32515,
    IDI_ASTERISK = 32516,
    IDI_WARNING = IDI_EXCLAMATION,
    IDI_ERROR = IDI_HAND,
    IDI_INFORMATION = IDI_ASTERISK
};

// A picture kept as the bytes it was streamed as (so a form streams back
// unchanged) and as the image decoded from them.
class TGraphic : public TPersistent {
    ORLO_CLASS(TGraphic, TPersistent)
public:
    bool Empty() const noexcept { return FImage.isNull(); }
    Integer Width() const noexcept { return FImage.width(); }
    Integer Height() const noexcept { return FImage.height(); }
    const QImage& Image() const noexcept { return FImage; }
    void SetImage(const QImage& Value);
    void Clear();

    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName) const;
    void Assign(TPersistent* Source) override;

    // The streamed form: raw bytes as the form file holds them.
    virtual void ReadData(TStream* Stream) = 0;
    virtual void WriteData(TStream* Stream) const = 0;

    TNotifyEvent OnChange;

protected:
    // The file format of the class ("BMP", "ICO") and the picture's bytes in it.
    virtual const char* FileFormat() const = 0;
    std::vector<Byte> FileBytes() const;
    TGraphic() = default;
    void DefineProperties(TFiler* Filer) override;
    // Decodes Bytes; EInvalidGraphic "Invalid graphic format" when they are no picture.
    void SetBytes(std::vector<Byte> Bytes, const char* Format);
    void Changed();

    std::vector<Byte> FBytes; // as streamed; rebuilt when the image is set in code
    QImage FImage;
};

class TBitmap : public TGraphic {
    ORLO_CLASS(TBitmap, TGraphic)
public:
    TBitmap() = default;
    // Streamed as a 32-bit size and a bitmap file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) const override;

protected:
    const char* FileFormat() const override { return "BMP"; }
};

class TIcon : public TGraphic {
    ORLO_CLASS(TIcon, TGraphic)
public:
    TIcon() = default;
    // Streamed as an icon file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) const override;
    // One of the standard system icons, at 32 x 32 pixels.
    void LoadSystemIcon(TSystemIcon Icon);
    TSystemIcon SystemIcon() const noexcept { return FSystemIcon; }

protected:
    const char* FileFormat() const override { return "ICO"; }

private:
    TSystemIcon FSystemIcon{};
};

// The image one of the standard system icons shows.
QImage SystemIconImage(TSystemIcon Icon, Integer Size = 32);

// Holds one graphic of any kind; streamed as the graphic's class name and data.
class TPicture : public TPersistent {
    ORLO_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;
    TGraphic* Graphic() const noexcept { return FGraphic.get(); }
    void SetGraphic(TGraphic* Value); // copies Value; nil clears
    TBitmap* Bitmap();                // replaces another kind of graphic
    TIcon* Icon();
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    template <class G> G* Need();
    void GraphicChanged(TObject* Sender);
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream) const;
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};

ORLO_EXCEPTION(EInvalidGraphic, Exception);

} // namespace orlo
