#include "decode/image_decoder.h"

#include "decode/jpeg_decoder.h"
#include "decode/photo_file.h"
#include "decode/png_decoder.h"

namespace tessera {

std::string decodePhoto(const unsigned char* bytes, std::size_t length,
                        const ScaleCheck& acceptScale, DecodedPhoto& photo) {
    switch (photoFormatOf(bytes, length)) {
    case PhotoFormat::jpeg:
        return decodeJpeg(bytes, length, acceptScale, photo);
    case PhotoFormat::png:
        return decodePng(bytes, length, photo);
    case PhotoFormat::unknown:
        break;
    }
    return "not a JPEG or PNG image";
}

} // namespace tessera
