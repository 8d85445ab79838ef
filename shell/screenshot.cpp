#include "shell/screenshot.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <string>

#include "engine/file_write.h"

namespace corvan::shell {

QString screenshotFolder() {
    const QString fromEnvironment = qEnvironmentVariable("XDG_PICTURES_DIR");
    if (!fromEnvironment.isEmpty() && QFileInfo(fromEnvironment).isDir()) return fromEnvironment;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return pictures;
    return QDir::homePath();
}

QString saveScreenshot(const Bitmap& screen, const QString& folder, const QDateTime& when,
                       QString& error) {
    const QImage image(screen.row(0), screen.width(), screen.height(),
                       static_cast<qsizetype>(screen.stride()), QImage::Format_BGR888);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = QStringLiteral("cannot encode the screenshot");
        return {};
    }
    const QString stem =
        QStringLiteral("corvan-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(folder).filePath(stem + QStringLiteral(".png"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = QDir(folder).filePath(stem + QStringLiteral("-%1.png").arg(n));
    }
    std::string problem;
    if (!writeFileAtomically(path.toStdString(), std::string_view(png.constData(), png.size()),
                             problem)) {
        error = QString::fromStdString(problem);
        return {};
    }
    return path;
}

}  // namespace corvan::shell
