#pragma once
// Pictures against their golden PNGs in tests/<folder>/golden. One that
// differs is left in the artefacts folder, for a look and to replace the
// golden when a change is meant.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cstring>
#include <string>
#include <vector>

namespace testing_support {

// The parts, one below the other, against the golden of that name.
inline void ExpectGoldenPicture(const std::vector<QImage>& parts, const std::string& name,
                                const std::string& folder = "audio") {
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
  if (QImage(QString::fromStdString(golden)).convertToFormat(picture.format()) == picture) return;
  const std::string artefact = SKARVEL_ARTEFACTS_DIR "/" + name;
  QDir().mkpath(QStringLiteral(SKARVEL_ARTEFACTS_DIR));
  picture.save(QString::fromStdString(artefact));
  ADD_FAILURE() << "differs from " << golden << "; see " << artefact;
}

}  // namespace testing_support
