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

// A logo is a few hundred pixels across; a picture larger than a big camera photo is not a logo
// and, decoded, would take gigabytes (a few hundred bytes can declare 65000 x 65000 pixels).
constexpr unsigned kMaxSide = 16384;
constexpr unsigned long long kMaxPixels = 40'000'000;
// libjpeg's own working memory (a progressive file keeps all its coefficients).
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

bool saneSize(unsigned width, unsigned height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<unsigned long long>(width) * height <= kMaxPixels;
}

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
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !saneSize(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image->isNull()) { // out of memory
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
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
