#pragma once
// Writes the pictures of one skin into its folder and remembers what it wrote. Sizes and places
// come from the main window's layout, so the pictures always fit the controls they are for.
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include "form/mainform.h"
#include "tools/skinpaint_style.h"

namespace vx::skinpaint {

inline constexpr double kTwips = 15;  // twips per pixel

class SkinWriter {
 public:
  SkinWriter(QString folder, Palette palette);

  const Palette& palette() const { return palette_; }
  const form::MainForm& layout() const { return layout_; }
  const QString& folder() const { return folder_; }

  // A control's size and its rectangle in its panel, in pixels.
  QSize sizeOf(const std::string& control, int index = -1) const;
  QRectF rectOf(const std::string& control, int index = -1) const;

  // Saves as a Windows bitmap, or an icon for a ".ico" name; false (and a message on standard
  // error) when the file cannot be written.
  bool save(const QString& name, const QImage& image);
  bool saveText(const QString& name, const QStringList& lines);
  const QStringList& written() const { return written_; }
  bool ok() const { return ok_; }

 private:
  QString folder_;
  Palette palette_;
  form::MainForm layout_;
  QStringList written_;
  bool ok_ = true;
};

// The pictures, by kind.
void paintButtons(SkinWriter& w);
void paintKnobs(SkinWriter& w);
void paintPanels(SkinWriter& w);
void paintExtras(SkinWriter& w);
void paintDjPanel(SkinWriter& w);
// The program's own icon (also the about and splash windows' picture), `size` pixels square.
QImage programIcon(int size, const Palette& p);

}  // namespace vx::skinpaint
