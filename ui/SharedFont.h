#pragma once
// CSharedFont: one font shared by several windows and stored in the settings as one line of text
// (FontText.h). Windows attached to it get every new font at once; a window destroyed since it
// was attached stays in the set and only produces a warning in the trace when the font changes.
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/FontText.h"

class QPaintDevice;

class CSharedFont {
 public:
  CSharedFont() = default;
  CSharedFont(const CSharedFont&) = delete;
  CSharedFont& operator=(const CSharedFont&) = delete;

  std::string ToText() const { return FormatFontText(logFont_); }
  // The face name; with size followed by " (points )" at the screen's vertical resolution.
  std::string ToDisplayName(bool withSize) const;
  // Reads a font text. Empty text: the system font. With a device, the height is read as points
  // and converted at the device's vertical resolution. Then height = height * scale, truncated.
  // False (font unchanged) when the text is not a font text.
  bool FromText(const std::string& text, const QPaintDevice* device = nullptr, double scale = 1.0);

  // Adds the window to the set (once) and gives it the current font; false for a null window.
  bool AttachWindow(QWidget* window);
  // The platform's font dialog, through the prompt seam, starting from the current font; on OK
  // the new font is taken (OnNewFont) and the result is true. `printerFonts` lists the fonts
  // for printing, which on this system are the screen's fonts.
  bool ChooseWithDialog(QWidget* owner, bool withEffects, bool printerFonts);
  // Makes the font from the logical font and hands it to every attached window.
  void OnNewFont();

  const LogFont& GetLogFont() const { return logFont_; }
  void SetLogFont(const LogFont& font);
  // The font made from the logical font, or nothing before the first one.
  const std::optional<QFont>& Font() const { return font_; }
  std::size_t WindowCount() const { return windows_.size(); }

  // Conversions between the logical font record and Qt's font.
  static QFont ToQFont(const LogFont& font);
  // The record for a Qt font; members Qt has no notion of (character set, precisions) come from
  // `base`.
  static LogFont FromQFont(const QFont& font, const LogFont& base, int dpiY);
  // The screen's vertical resolution (96 when there is no screen).
  static int ScreenDpiY();

 private:
  struct Window {
    QPointer<QWidget> widget;
    std::uintptr_t handle;  // for the trace once the widget is gone
  };
  LogFont logFont_;
  std::optional<QFont> font_;
  std::vector<Window> windows_;
};

// The process-wide editor font of the query workspace.
CSharedFont& SharedDisplayFont();
