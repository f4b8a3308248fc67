#pragma once

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace orvane::test {

// A picture file with a colour gradient and a dark square, saved in the format of its name.
inline bool writeTestPicture(const QString& path, int width = 64, int height = 32) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool square = x > width / 3 && x < width / 2 && y > height / 4 && y < height * 3 / 4;
      picture.setPixel(x, y,
                       square ? qRgb(20, 30, 40) : qRgb(255 * x / width, 200, 255 * y / height));
    }
  }
  return picture.save(path);
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The header of a 24-bit BMP file declaring a size; no pixels follow.
inline QByteArray bmpHeader(qint32 width, qint32 height) {
  QByteArray bytes(54, '\0');
  auto put32 = [&](int at, quint32 value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54);
  put32(10, 54);
  put32(14, 40);
  put32(18, quint32(width));
  put32(22, quint32(height));
  bytes[26] = 1;
  bytes[28] = 24;
  return bytes;
}

// Files that name no usable picture, by what is wrong with them, in `folder`.
struct BadPictures {
  QString notAPicture, truncated, zeroSize, huge;
};
inline BadPictures writeBadPictures(const QString& folder) {
  BadPictures bad{folder + "/notes.png", folder + "/truncated.png", folder + "/empty.bmp",
                  folder + "/huge.bmp"};
  writeBytes(bad.notAPicture, "this is a text, not a picture\n");
  writeTestPicture(folder + "/whole.png", 64, 64);
  QFile whole(folder + "/whole.png");
  whole.open(QIODevice::ReadOnly);
  writeBytes(bad.truncated, whole.readAll().left(int(whole.size() / 2)));
  writeBytes(bad.zeroSize, bmpHeader(0, 0));
  writeBytes(bad.huge, bmpHeader(20000, 20000));
  return bad;
}

// The number at the start of a counter's text ("12回", "34.56％").
inline double counterValue(const QLabel* label) {
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?")).match(label->text());
  return match.hasMatch() ? match.captured(0).toDouble() : -1;
}

// Runs `act` on the modal dialog of type T once its exec() has shown it; the dialog is rejected
// afterwards if `act` left it open, so a failed check never leaves a test waiting on it.
template <typename T>
void whenModal(std::function<void(T&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll->stop();
    poll->deleteLater();
    QPointer<T> guard(dialog);
    act(*dialog);
    if (guard && guard->isVisible()) guard->reject();
  });
  poll->start();
}

}  // namespace orvane::test
