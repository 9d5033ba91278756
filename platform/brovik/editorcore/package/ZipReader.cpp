#include "platform/brovik/editorcore/package/ZipReader.h"

#include "platform/brovik/editorcore/model/DocumentLoadError.h"

#include <zip.h>

namespace KX::Tovrin {

namespace {
QString zipErrorText(int code) {
    switch (code) {
    case ZIP_ER_NOZIP:
        return QStringLiteral("it is not a zip archive");
    case ZIP_ER_INCONS:
        return QStringLiteral("its zip structure is inconsistent");
    case ZIP_ER_EOF:
    case ZIP_ER_READ:
        return QStringLiteral("it is truncated");
    case ZIP_ER_MEMORY:
        return QStringLiteral("there is not enough memory");
    default: {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        QString text = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        return text;
    }
    }
}
} // namespace

ZipReader::ZipReader(QByteArray bytes) : _bytes(std::move(bytes)) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(_bytes.constData(), static_cast<zip_uint64_t>(_bytes.size()), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        throw DocumentLoadError("The file cannot be opened: there is not enough memory.");
    }
    _archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (_archive == nullptr) {
        const int code = zip_error_code_zip(&error);
        zip_source_free(source);
        zip_error_fini(&error);
        throw DocumentLoadError(QStringLiteral("The file is not a presentation that can be opened: %1.")
                                    .arg(zipErrorText(code))
                                    .toStdString());
    }
    zip_error_fini(&error);
}

ZipReader::~ZipReader() {
    if (_archive != nullptr)
        zip_discard(_archive);
}

bool ZipReader::contains(const QString& name) const {
    return zip_name_locate(_archive, name.toUtf8().constData(), 0) >= 0;
}

QStringList ZipReader::entryNames() const {
    QStringList names;
    const zip_int64_t count = zip_get_num_entries(_archive, 0);
    for (zip_int64_t i = 0; i < count && i < 100000; ++i) {
        if (const char* name = zip_get_name(_archive, static_cast<zip_uint64_t>(i), 0))
            names << QString::fromUtf8(name);
    }
    return names;
}

QByteArray ZipReader::read(const QString& name, qint64 limit) const {
    const zip_int64_t index = zip_name_locate(_archive, name.toUtf8().constData(), 0);
    if (index < 0)
        throw DocumentLoadError(QStringLiteral("The presentation is damaged: the part \"%1\" is missing.")
                                    .arg(name)
                                    .toStdString());
    zip_file_t* file = zip_fopen_index(_archive, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr)
        throw DocumentLoadError(QStringLiteral("The presentation is damaged: the part \"%1\" cannot be read.")
                                    .arg(name)
                                    .toStdString());
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            zip_fclose(file);
            throw DocumentLoadError(QStringLiteral("The presentation is damaged: the part \"%1\" is corrupt.")
                                        .arg(name)
                                        .toStdString());
        }
        if (n == 0)
            break;
        _inflated += n;
        if (data.size() + n > limit || _inflated > MaxTotalInflated) {
            zip_fclose(file);
            throw DocumentLoadError(
                QStringLiteral("The presentation cannot be opened: the part \"%1\" is too large.")
                    .arg(name)
                    .toStdString());
        }
        data.append(buffer, static_cast<int>(n));
    }
    zip_fclose(file);
    return data;
}

QByteArray ZipReader::tryRead(const QString& name, qint64 limit) const noexcept {
    try {
        return read(name, limit);
    } catch (...) {
        return {};
    }
}

} // namespace KX::Tovrin
