#include "platform/brovik/document/DocumentIO.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace KX::Brovik {

DocumentIO::DocumentIO(QString filePath) : _filePath(std::move(filePath)) {}

QString DocumentIO::fileName() const {
    return QFileInfo(_filePath).fileName();
}

QString DocumentIO::saveCopyAs(const QString& destination) const {
    if (QFileInfo(destination).canonicalFilePath() == QFileInfo(_filePath).canonicalFilePath()) {
        return QString();
    }
    QFile source(_filePath);
    if (!source.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Cannot read \"%1\": %2").arg(_filePath, source.errorString());
    }
    // QSaveFile keeps an existing destination intact until the new copy is complete.
    QSaveFile target(destination);
    if (!target.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Cannot write \"%1\": %2").arg(destination, target.errorString());
    }
    constexpr qint64 ChunkSize = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(ChunkSize);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) {
            target.cancelWriting();
            return QStringLiteral("Cannot read \"%1\": %2").arg(_filePath, source.errorString());
        }
        if (target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            return QStringLiteral("Cannot write \"%1\": %2").arg(destination, target.errorString());
        }
    }
    if (!target.commit()) {
        return QStringLiteral("Cannot write \"%1\": %2").arg(destination, target.errorString());
    }
    return QString();
}

} // namespace KX::Brovik
