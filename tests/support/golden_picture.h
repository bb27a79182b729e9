#pragma once
// Pictures against their golden PNGs in tests/<folder>/golden. One that
// differs is left in the artefacts folder, for a look and to replace the
// golden when a change is meant.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPoint>
#include <cstring>
#include <string>
#include <vector>

namespace testing_support {

// How many pixels of the picture differ from the golden placed at `at`, all
// of them on a glyph's edge: the golden's pixel has a neighbour of the
// picture's colour, and the picture's a neighbour of the golden's. -1 when
// any other pixel differs or the golden does not fit. Both in RGB32.
//
// Why edges may differ: the toolkit fills glyphs larger than 64 pixels as
// outlines, and a pixel whose centre lies on an outline may come out
// either way from one run of the program to the next. A text that is
// wrong, moved, missing or in another colour differs in far more pixels,
// or in pixels off every edge.
inline int GlyphEdgeDifferences(const QImage& picture, const QImage& golden, QPoint at = {}) {
  if (at.x() < 0 || at.y() < 0 || at.x() + golden.width() > picture.width() ||
      at.y() + golden.height() > picture.height()) {
    return -1;
  }
  auto hasNeighbour = [](const QImage& image, QPoint p, QRect within, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const QPoint q = p + QPoint(dx, dy);
        if ((dx || dy) && within.contains(q) && image.pixel(q) == colour) return true;
      }
    }
    return false;
  };
  const QRect placed(at, golden.size());
  int edges = 0;
  for (int y = 0; y < golden.height(); ++y) {
    const QRgb* want = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
    const QRgb* got = reinterpret_cast<const QRgb*>(picture.constScanLine(at.y() + y)) + at.x();
    for (int x = 0; x < golden.width(); ++x) {
      if (got[x] == want[x]) continue;
      if (!hasNeighbour(golden, {x, y}, golden.rect(), got[x]) ||
          !hasNeighbour(picture, at + QPoint(x, y), placed, want[x])) {
        return -1;
      }
      ++edges;
    }
  }
  return edges;
}

// The parts, one below the other, against the golden of that name; up to
// glyphEdgePixels pixels may differ on glyph edges (GlyphEdgeDifferences),
// for pictures with glyphs larger than 64 pixels.
inline void ExpectGoldenPicture(const std::vector<QImage>& parts, const std::string& name,
                                const std::string& folder = "audio", int glyphEdgePixels = 0) {
  int height = 0;
  for (const QImage& part : parts) height += part.height();
  QImage picture(parts.at(0).width(), height, QImage::Format_BGR888);
  int top = 0;
  for (const QImage& part : parts) {
    const QImage rows = part.convertToFormat(QImage::Format_BGR888);
    for (int y = 0; y < rows.height(); ++y) std::memcpy(picture.scanLine(top++), rows.constScanLine(y), 3 * rows.width());
  }
  const std::string golden = SKARVEL_SOURCE_DIR "/tests/" + folder + "/golden/" + name;
  // SKARVEL_REWRITE_GOLDENS=1: the pictures become the goldens, to be looked
  // at before they are committed.
  if (qEnvironmentVariableIntValue("SKARVEL_REWRITE_GOLDENS") == 1) {
    EXPECT_TRUE(picture.save(QString::fromStdString(golden))) << golden;
    return;
  }
  const QImage stored = QImage(QString::fromStdString(golden)).convertToFormat(QImage::Format_RGB32);
  const QImage drawn = picture.convertToFormat(QImage::Format_RGB32);
  const int edges = stored.size() != drawn.size() ? -1 : GlyphEdgeDifferences(drawn, stored);
  if (edges >= 0 && edges <= glyphEdgePixels) return;
  const std::string artefact = SKARVEL_ARTEFACTS_DIR "/" + name;
  QDir().mkpath(QStringLiteral(SKARVEL_ARTEFACTS_DIR));
  picture.save(QString::fromStdString(artefact));
  const std::string where = edges < 0 ? "off the glyphs' edges" : "on " + std::to_string(edges) + " glyph edge pixels";
  ADD_FAILURE() << "differs from " << golden << " (" << where << "); see " << artefact;
}

}  // namespace testing_support
