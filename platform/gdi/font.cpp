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

struct Substitution {
    const char* face;
    const char* family;
};

// Windows faces the programs name, onto the fonts of fonts-dejavu-core and
// fonts-nanum.
constexpr Substitution kTable[] = {
    { "Verdana", kSans }, { "Arial", kSans }, { "Tahoma", kSans }, { "MS Sans Serif", kSans },
    { "MS Shell Dlg", kSans }, { "MS Shell Dlg 2", kSans }, { "System", kSans }, { "Helvetica", kSans },
    { "Helv", kSans }, { "Times New Roman", kSerif }, { "Times", kSerif }, { "MS Serif", kSerif },
    { "Courier New", kMono }, { "Courier", kMono }, { "Fixedsys", kMono }, { "Terminal", kMono },
    { "Lucida Console", kMono }, { "Gulim", kGothic }, { "\xea\xb5\xb4\xeb\xa6\xbc", kGothic }, // 굴림
    { "Dotum", kGothic }, { "\xeb\x8f\x8b\xec\x9b\x80", kGothic }, // 돋움
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

const char* Substitute(const char* face, BYTE pitchAndFamily)
{
    if (face && *face)
        for (const Substitution& s : kTable)
            if (strcasecmp(face, s.face) == 0)
                return s.family;
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
        return kMono;
    if ((pitchAndFamily & 0xF0) == FF_ROMAN)
        return kSerif;
    return kSans;
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

} // namespace

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
    return Substitute(faceName, 0);
}

QFont GdiBuildFont(const LOGFONT& lf, double scale, bool antialias)
{
    const char* family = Substitute(lf.lfFaceName, lf.lfPitchAndFamily);
    QFont font;
    font.setFamilies({ QString::fromLatin1(family), QString::fromLatin1(HangulPartner(family)) });
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
    font.setPixelSize(std::max(1, static_cast<int>(em + 0.5)));
    if (lf.lfWidth > 0) {
        const double average = QFontMetricsF(font).averageCharWidth();
        if (average > 0)
            font.setStretch(std::clamp(static_cast<int>(lf.lfWidth * scale * 100 / average + 0.5), 1, 4000));
    }
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
