#include "tessera_render/video_container.h"

#include "tessera_render/video_file_check.h"

#include <algorithm>
#include <cctype>

namespace tessera {
namespace {

// ffmpeg's arguments, written as one line: none of them holds a space.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> all;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        all.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return all;
}

// H.264 and VP9 in 4:2:0 want even sides: an odd last column or row is cropped. Colours are
// converted and tagged as BT.709, as browsers and players assume for video.
const std::string yuv420Bt709 =
    " -pix_fmt yuv420p -vf crop=trunc(iw/2)*2:trunc(ih/2)*2,scale=out_color_matrix=bt709"
    " -colorspace bt709 -color_primaries bt709 -color_trc bt709";

const std::vector<VideoContainer>& containers() {
    static const std::vector<VideoContainer> all = {
        // The index goes first, so that a browser plays the file while it loads.
        {".mp4", "mp4", 60, words("-c:v libx264 -crf 20 -movflags +faststart" + yuv420Bt709),
         mp4FileFault},
        // libvpx's quicker settings: a fifth of the time of its "good" ones for the demo, at
        // about a quarter more bytes and half a decibel less.
        {".webm", "webm", 60,
         words("-c:v libvpx-vp9 -crf 32 -b:v 0 -deadline realtime -cpu-used 8 -row-mt 1" +
               yuv420Bt709),
         webmFileFault},
        // A GIF counts delays in hundredths of a second and browsers slow anything under two
        // of them down to ten: 50 frames a second is the fastest that plays at its pace.
        // One palette serves the whole GIF, taken from the first frame (the picture and its
        // toolbar, whose regions colour every shape), so that nothing of a long session is
        // held in memory; an ordered dither keeps unchanged areas unchanged from frame to
        // frame, and only the changed rectangle of each frame is stored.
        {".gif", "gif", 50,
         words("-filter_complex split[a][b];[a]trim=end_frame=1,palettegen[p];"
               "[b][p]paletteuse=dither=bayer:bayer_scale=4:diff_mode=rectangle"),
         gifFileFault},
    };
    return all;
}

bool endsWith(const std::string& text, const std::string& ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    return std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char wanted, char given) {
        return std::tolower(static_cast<unsigned char>(given)) == wanted;
    });
}

} // namespace

const VideoContainer* videoContainer(const std::string& path) {
    for (const VideoContainer& container : containers()) {
        if (endsWith(path, container.extension)) {
            return &container;
        }
    }
    return nullptr;
}

std::string videoContainerError(const std::string& path) {
    if (videoContainer(path) != nullptr) {
        return "";
    }
    return "--video needs a file name ending in .mp4, .webm or .gif, not '" + path + "'";
}

} // namespace tessera
