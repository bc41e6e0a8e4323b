#include "ui/SharedFont.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "data/Trace.h"
#include "platform/framework/PromptSeam.h"

int CSharedFont::ScreenDpiY() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 0;
  return dpi > 0 ? dpi : 96;
}

QFont CSharedFont::ToQFont(const LogFont& logFont) {
  QFont font(QString::fromStdString(logFont.faceName));
  switch (logFont.pitchAndFamily & 0xF0) {
    case kFamilyRoman:
      font.setStyleHint(QFont::Serif);
      break;
    case kFamilySwiss:
      font.setStyleHint(QFont::SansSerif);
      break;
    case kFamilyModern:
      font.setStyleHint(QFont::TypeWriter);
      break;
    case kFamilyScript:
      font.setStyleHint(QFont::Cursive);
      break;
    case kFamilyDecorative:
      font.setStyleHint(QFont::Decorative);
      break;
    default:
      break;
  }
  if ((logFont.pitchAndFamily & 3) == kFixedPitch) font.setFixedPitch(true);
  if (logFont.height < 0) {
    font.setPixelSize(std::clamp(-logFont.height, 1, 4096));
  } else if (logFont.height > 0) {
    // A positive height is the whole cell: take the largest size whose line fits in it.
    int size = std::clamp(logFont.height, 1, 4096);
    font.setPixelSize(size);
    while (size > 1 && QFontMetrics(font).height() > logFont.height) font.setPixelSize(--size);
  }
  font.setWeight(static_cast<QFont::Weight>(logFont.weight <= 0 ? 400 : std::clamp(logFont.weight, 1, 1000)));
  font.setItalic(logFont.italic != 0);
  font.setUnderline(logFont.underline != 0);
  font.setStrikeOut(logFont.strikeOut != 0);
  if (logFont.quality == 3) font.setStyleStrategy(QFont::NoAntialias);
  if (logFont.quality >= 4) font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

LogFont CSharedFont::FromQFont(const QFont& font, const LogFont& base, int dpiY) {
  LogFont result = base;
  if (font.pixelSize() > 0)
    result.height = -font.pixelSize();
  else
    result.height = -static_cast<std::int32_t>(std::lround(font.pointSizeF() * dpiY / 72.0));
  result.width = 0;
  result.weight = font.weight();
  result.italic = font.italic() ? 1 : 0;
  result.underline = font.underline() ? 1 : 0;
  result.strikeOut = font.strikeOut() ? 1 : 0;
  const bool fixed = QFontInfo(font).fixedPitch();
  result.pitchAndFamily = fixed ? (kFixedPitch | kFamilyModern) : (kVariablePitch | kFamilySwiss);
  // A ";" would end the face name in the font text and make it unreadable.
  result.faceName = CutFaceName(font.family().remove(';').toStdString());
  return result;
}

std::string CSharedFont::ToDisplayName(bool withSize) const {
  return FontDisplayName(logFont_, withSize, ScreenDpiY());
}

bool CSharedFont::FromText(const std::string& text, const QPaintDevice* device, double scale) {
  LogFont font;
  if (text.empty()) {
    font = FromQFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont), LogFont{}, ScreenDpiY());
  } else {
    std::optional<LogFont> parsed = ParseFontText(text);
    if (!parsed) return false;
    font = *parsed;
    if (device) font.height = FontPointsToHeight(font.height, device->logicalDpiY());
  }
  const double scaled = std::trunc(static_cast<double>(font.height) * scale);
  font.height = static_cast<std::int32_t>(std::clamp(scaled, -2147483648.0, 2147483647.0));
  logFont_ = font;
  OnNewFont();
  return true;
}

void CSharedFont::SetLogFont(const LogFont& font) {
  logFont_ = font;
  OnNewFont();
}

void CSharedFont::OnNewFont() {
  font_ = ToQFont(logFont_);
  for (const Window& window : windows_) {
    if (window.widget) {
      window.widget->setFont(*font_);
      window.widget->update();
    } else {
      Trace(TraceWarning, "OnNewFont() : Wrong window handle encountered, hWnd = %08lx",
            static_cast<unsigned long>(window.handle));
    }
  }
}

bool CSharedFont::AttachWindow(QWidget* window) {
  if (!window) return false;
  const bool known =
      std::any_of(windows_.begin(), windows_.end(), [window](const Window& entry) { return entry.widget == window; });
  if (!known) windows_.push_back({window, reinterpret_cast<std::uintptr_t>(window)});
  if (font_) window->setFont(*font_);
  return true;
}

bool CSharedFont::ChooseWithDialog(QWidget* owner, bool withEffects, bool printerFonts) {
  // Fontconfig offers the same fonts to the screen and the printer, and Qt's dialog always has its
  // effects section: both choices are accepted for the callers' sake.
  (void)printerFonts;
  (void)withEffects;
  QFontDialog dialog(font_.value_or(ToQFont(logFont_)), owner);
  dialog.setWindowTitle(QStringLiteral("Font"));
  // Qt's own dialog, so the seam sees and can answer it like any other.
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  if (Prompts().ExecDialog(dialog) != QDialog::Accepted) return false;
  logFont_ = FromQFont(dialog.selectedFont(), logFont_, ScreenDpiY());
  OnNewFont();
  return true;
}

CSharedFont& SharedDisplayFont() {
  static CSharedFont font;
  return font;
}
