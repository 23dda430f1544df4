#include "platform/gdi/font.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <strings.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/font_internal.h"
#include "platform/gdi/gdi_internal.h"

namespace {

constexpr const char* kSans = "DejaVu Sans";
constexpr const char* kSerif = "DejaVu Serif";
constexpr const char* kMono = "DejaVu Sans Mono";
constexpr const char* kGothic = "NanumGothic";
constexpr const char* kGothicCoding = "NanumGothicCoding";
constexpr const char* kMyeongjo = "NanumMyeongjo";

// The average advance per pixel of character height that the dialog units are
// laid out for: 6 pixels at 8 points.
constexpr double kDialogAverage = 6.0 / (8.0 * 96.0 / 72.0);

struct Substitution {
    const char* face;
    const char* family;
    double average = 0; // the face's average advance per em; 0: the family's own
};

// Windows faces the programs name, onto the fonts of fonts-dejavu-core and
// fonts-nanum. The dialog faces keep the width dialogs are laid out for.
constexpr Substitution kTable[] = {
    { "Verdana", kSans }, { "Arial", kSans }, { "Tahoma", kSans }, { "MS Sans Serif", kSans, kDialogAverage },
    { "MS Shell Dlg", kSans, kDialogAverage }, { "MS Shell Dlg 2", kSans, kDialogAverage },
    { "System", kSans, kDialogAverage }, { "Helvetica", kSans }, { "Helv", kSans, kDialogAverage },
    { "Times New Roman", kSerif }, { "Times", kSerif }, { "MS Serif", kSerif }, { "Courier New", kMono },
    { "Courier", kMono }, { "Fixedsys", kMono }, { "Terminal", kMono }, { "Lucida Console", kMono },
    { "Gulim", kGothic, kDialogAverage }, { "\xea\xb5\xb4\xeb\xa6\xbc", kGothic, kDialogAverage }, // 굴림
    { "Dotum", kGothic, kDialogAverage }, { "\xeb\x8f\x8b\xec\x9b\x80", kGothic, kDialogAverage }, // 돋움
    { "GulimChe", kGothicCoding }, { "\xea\xb5\xb4\xeb\xa6\xbc\xec\xb2\xb4", kGothicCoding }, // 굴림체
    { "DotumChe", kGothicCoding }, { "\xeb\x8f\x8b\xec\x9b\x80\xec\xb2\xb4", kGothicCoding }, // 돋움체
    { "BatangChe", kGothicCoding }, { "\xeb\xb0\x94\xed\x83\x95\xec\xb2\xb4", kGothicCoding }, // 바탕체
    { "Batang", kMyeongjo }, { "\xeb\xb0\x94\xed\x83\x95", kMyeongjo }, // 바탕
    { "Gungsuh", kMyeongjo }, { "\xea\xb6\x81\xec\x84\x9c", kMyeongjo }, // 궁서
};

constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-BoldOblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf",
    "/usr/share/fonts/truetype/nanum/NanumGothic.ttf",
    "/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf",
    "/usr/share/fonts/truetype/nanum/NanumGothicCoding.ttf",
    "/usr/share/fonts/truetype/nanum/NanumGothicCodingBold.ttf",
    "/usr/share/fonts/truetype/nanum/NanumMyeongjo.ttf",
    "/usr/share/fonts/truetype/nanum/NanumMyeongjoBold.ttf",
};

const char* HangulPartner(const char* family)
{
    if (family == kMono)
        return kGothicCoding;
    if (family == kSerif)
        return kMyeongjo;
    return kGothic;
}

Substitution Substitute(const char* face, BYTE pitchAndFamily)
{
    if (face && *face)
        for (const Substitution& s : kTable)
            if (strcasecmp(face, s.face) == 0)
                return s;
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
        return { face, kMono };
    if ((pitchAndFamily & 0xF0) == FF_ROMAN)
        return { face, kSerif };
    return { face, kSans };
}

// Cell height (ascent + descent) per pixel of character height, per family.
double CellPerEm(const QFont& base)
{
    static std::mutex mutex;
    static std::map<std::string, double> cache;
    const std::string key = base.families().join(',').toStdString() + (base.bold() ? "/b" : "");
    std::lock_guard lock(mutex);
    const auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    QFont probe(base);
    probe.setPixelSize(100);
    const QFontMetricsF metrics(probe);
    const double ratio = std::max(0.5, (metrics.ascent() + metrics.descent()) / 100.0);
    cache[key] = ratio;
    return ratio;
}

// The widest stretch whose hinted average advance is at most average
// (hinting rounds each advance to a whole pixel).
int StretchFor(QFont font, double average)
{
    static std::mutex mutex;
    static std::map<std::pair<QString, double>, int> cache;
    const auto key = std::make_pair(font.key(), average);
    {
        std::lock_guard lock(mutex);
        if (const auto it = cache.find(key); it != cache.end())
            return it->second;
    }
    const auto fits = [&](int stretch) {
        font.setStretch(stretch);
        return GdiAverageAdvance(font) <= average + 1e-6;
    };
    int low = 1;
    int high = 4000;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid - 1;
    }
    std::lock_guard lock(mutex);
    cache[key] = low;
    return low;
}

} // namespace

double GdiAverageAdvance(const QFont& font)
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    static const QString digits = QStringLiteral("0123456789");
    static std::mutex mutex;
    static std::map<QString, double> cache;
    const QString key = font.key();
    std::lock_guard lock(mutex);
    const auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    const QFontMetricsF metrics(font);
    const double advance = std::max(metrics.horizontalAdvance(letters) / letters.size(),
        metrics.horizontalAdvance(digits) / digits.size());
    cache[key] = advance;
    return advance;
}

bool GdiTextReady()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    GdiRegisterFonts();
    return true;
}

void GdiRegisterFonts()
{
    static std::once_flag once;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    std::call_once(once, [] {
        for (const char* path : kFontFiles)
            if (QFile::exists(QString::fromLatin1(path)))
                QFontDatabase::addApplicationFont(QString::fromLatin1(path));
    });
}

const char* GdiSubstituteFace(const char* faceName)
{
    return Substitute(faceName, 0).family;
}

QFont GdiBuildFont(const LOGFONT& lf, double scale, bool antialias)
{
    const Substitution face = Substitute(lf.lfFaceName, lf.lfPitchAndFamily);
    QFont font;
    font.setFamilies({ QString::fromLatin1(face.family), QString::fromLatin1(HangulPartner(face.family)) });
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp(static_cast<int>(lf.lfWeight), 100, 900);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setKerning(false);
    font.setStyleStrategy(
        antialias && lf.lfQuality != NONANTIALIASED_QUALITY ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    double em;
    if (lf.lfHeight < 0)
        em = -lf.lfHeight * scale;
    else if (lf.lfHeight > 0)
        em = lf.lfHeight * scale / CellPerEm(font);
    else
        em = 12 * scale;
    const int pixels = std::max(1, static_cast<int>(em + 0.5));
    font.setPixelSize(pixels);
    // A width asked holds for letters and for figures.
    const double average = lf.lfWidth > 0 ? lf.lfWidth * scale : face.average * pixels;
    if (average > 0)
        font.setStretch(StretchFor(font, average));
    return font;
}

QFont GdiQFont(HFONT handle, int dpiY)
{
    auto data = GdiLookupAs<FontData>(handle, GdiKind::Font);
    if (!data)
        data = std::static_pointer_cast<FontData>(GdiStock(DEFAULT_GUI_FONT));
    GdiRegisterFonts();
    return GdiBuildFont(data->lf, dpiY / 96.0, true);
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc)
{
    LOGFONT lf;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = pointSize;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* record, CDC* dc)
{
    if (!record)
        return FALSE;
    LOGFONT lf = *record;
    const int dpi = dc ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    POINT pt { 0, MulDiv(dpi, lf.lfHeight, 720) };
    POINT org { 0, 0 };
    if (dc) {
        dc->DPtoLP(&pt);
        dc->DPtoLP(&org);
    }
    lf.lfHeight = -std::abs(static_cast<int>(pt.y - org.y));
    return CreateFontIndirect(&lf);
}
