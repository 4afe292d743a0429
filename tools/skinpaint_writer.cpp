#include "tools/skinpaint_writer.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <iostream>

namespace vx::skinpaint {

SkinWriter::SkinWriter(QString folder, Palette palette) : folder_(std::move(folder)), palette_(std::move(palette)) {
  QDir().mkpath(folder_);
}

QSize SkinWriter::sizeOf(const std::string& control, int index) const {
  const form::Control& c = *layout_.find(control, index);
  return QSize(static_cast<int>(std::lround(c.width() / kTwips)), static_cast<int>(std::lround(c.height() / kTwips)));
}

QRectF SkinWriter::rectOf(const std::string& control, int index) const {
  const form::Control& c = *layout_.find(control, index);
  return QRectF(c.left() / kTwips, c.top() / kTwips, c.width() / kTwips, c.height() / kTwips);
}

bool SkinWriter::save(const QString& name, const QImage& image) {
  QString path = folder_ + "/" + name;
  const char* format = name.endsWith(".ico") ? "ICO" : "BMP";
  // Bitmaps carry no transparency: an opaque picture keeps its colours exact.
  QImage out = name.endsWith(".ico") ? image.convertToFormat(QImage::Format_ARGB32)
                                     : image.convertToFormat(QImage::Format_RGB32);
  if (!out.save(path, format)) {
    std::cerr << "skinpaint: cannot write " << path.toStdString() << "\n";
    ok_ = false;
    return false;
  }
  written_ << name;
  return true;
}

bool SkinWriter::saveText(const QString& name, const QStringList& lines) {
  QFile file(folder_ + "/" + name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::cerr << "skinpaint: cannot write " << file.fileName().toStdString() << "\n";
    ok_ = false;
    return false;
  }
  for (const QString& line : lines) file.write((line + "\r\n").toUtf8());
  written_ << name;
  return true;
}

}  // namespace vx::skinpaint
