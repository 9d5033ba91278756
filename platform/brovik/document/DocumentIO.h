#pragma once

#include <QString>

namespace KX::Brovik {

// The file behind one document window: where it was opened from and how copies of it are written.
class DocumentIO {
public:
    explicit DocumentIO(QString filePath);

    const QString& filePath() const { return _filePath; }
    QString fileName() const;

    // Writes a byte-for-byte copy of the opened file to `destination`, replacing an existing file
    // only once the copy is complete. Copying onto the opened file itself is a no-op. Returns an
    // empty string on success, otherwise a readable reason.
    QString saveCopyAs(const QString& destination) const;

private:
    QString _filePath;
};

} // namespace KX::Brovik
