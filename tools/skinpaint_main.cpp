// skinpaint OUTPUT_FOLDER [ICON_FILE]: draws the built-in skins into OUTPUT_FOLDER/<skin>/ and the
// program's icon into ICON_FILE. Fails when a skin misses a file the program names.
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <iostream>

#include "tools/skinpaint_writer.h"
#include "ui/skin_catalogue.h"

namespace {

using vx::skinpaint::Palette;
using vx::skinpaint::SkinWriter;

bool paintSkin(const QString& root, const Palette& palette) {
  SkinWriter w(root + "/" + palette.name, palette);
  vx::skinpaint::paintPanels(w);
  vx::skinpaint::paintButtons(w);
  vx::skinpaint::paintKnobs(w);
  vx::skinpaint::paintExtras(w);
  vx::skinpaint::paintDjPanel(w);
  bool complete = w.ok();
  for (const std::string& name : vx::ui::skinPictureNames()) {
    if (!w.written().contains(QString::fromStdString(name))) {
      std::cerr << "skinpaint: the skin " << palette.name.toStdString() << " has no " << name << "\n";
      complete = false;
    }
  }
  if (!w.written().contains(vx::ui::kFontFile)) complete = false;
  return complete;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: skinpaint OUTPUT_FOLDER [ICON_FILE]\n";
    return 2;
  }
  // Pictures only: no window system is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QString root = QString::fromLocal8Bit(argv[1]);
  bool ok = paintSkin(root, vx::skinpaint::orangePalette()) && paintSkin(root, vx::skinpaint::midnightPalette());
  if (argc > 2 && !vx::skinpaint::programIcon(256, vx::skinpaint::orangePalette()).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::cerr << "skinpaint: cannot write " << argv[2] << "\n";
    ok = false;
  }
  return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
