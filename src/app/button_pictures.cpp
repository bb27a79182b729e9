#include "app/button_pictures.h"

#include <QPainter>
#include <QSize>
#include <cstdlib>

// The resource sits in a static library: without a reference from code the
// linker leaves it out of the executables. Q_INIT_RESOURCE has to be used
// outside any namespace.
static void LoadPictures() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(pictures);
    return true;
  }();
  (void)loaded;
}

namespace {

QPixmap Scaled(const QPixmap& pixmap, const QSize& size) {
  if (pixmap.isNull() || pixmap.size() == size) return pixmap;
  return pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QIcon SpeedButtonPicture(int number) {
  LoadPictures();
  // Both sizes go in whatever the program's own scale: a window can move to a
  // denser screen. The @2x name gives that pixmap its device pixel ratio.
  QIcon icon;
  for (const char* suffix : {"", "@2x"}) {
    const QPixmap pixmap(QStringLiteral(":/pictures/speedbutton%1%2.png").arg(number).arg(QLatin1String(suffix)));
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

QPixmap LogoPicture(int width, int height) {
  LoadPictures();
  struct Logo {
    QSize size;
    const char* path;
  };
  static const Logo kLogos[] = {{QSize(67, 24), ":/pictures/logo_67x24.png"},
                                {QSize(200, 50), ":/pictures/logo_200x50.png"}};
  const Logo* nearest = &kLogos[0];
  int nearestDistance = -1;
  for (const Logo& logo : kLogos) {
    const int distance = std::abs(logo.size.width() - width) + std::abs(logo.size.height() - height);
    if (nearestDistance < 0 || distance < nearestDistance) {
      nearest = &logo;
      nearestDistance = distance;
    }
  }
  return Scaled(QPixmap(QString::fromLatin1(nearest->path)), QSize(width, height));
}

QPixmap ProgramIconPicture(int size) {
  LoadPictures();
  return Scaled(QPixmap(QStringLiteral(":/pictures/program_icon_32.png")), QSize(size, size));
}

QPixmap TextPicture(const QStringList& lines, int width, int height, int pixelSize) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f = p.font();
  f.setPixelSize(pixelSize);
  p.setFont(f);
  p.setPen(Qt::black);
  const int n = static_cast<int>(lines.size());
  for (int i = 0; i < n; ++i) {
    const QRect row(0, height * i / n, width, height / n);
    p.drawText(row, Qt::AlignCenter, lines[i]);
  }
  return pixmap;
}
