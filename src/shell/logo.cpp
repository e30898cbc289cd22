#include "shell/logo.h"

#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace fenlark {

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr info)
{
    auto *error = reinterpret_cast<JpegError *>(info->err);
    std::longjmp(error->jump, 1);
}

void ignoreJpegMessage(j_common_ptr) {}

} // namespace

QString placeLogo(const QString &folder)
{
    const QString path = folder + QStringLiteral("/logo.jpg");
    if (!QFileInfo::exists(path)) {
        QFile stored(QStringLiteral(":/images/logo.jpg"));
        QFile target(path);
        if (stored.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly))
            target.write(stored.readAll());
    }
    return path;
}

QImage decodeJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = onJpegError;
    error.manager.output_message = ignoreJpegMessage;
    // Everything that must survive the longjmp lives outside this frame's locals that change.
    QImage *volatile image = new QImage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage result = *image;
    delete image;
    return result;
}

QImage loadLogo(const QString &folder)
{
    QFile file(placeLogo(folder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeJpeg(file.readAll());
}

} // namespace fenlark
