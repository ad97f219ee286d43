#include "web/webgl_context.h"

#include <emscripten/html5.h>

namespace tessera {

bool makeWebGl2Context(const char* canvasSelector) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(canvasSelector, &attributes);
    if (context <= 0) {
        return false;
    }
    emscripten_webgl_make_context_current(context);
    return true;
}

} // namespace tessera
