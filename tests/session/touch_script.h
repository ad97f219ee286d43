#pragma once

#include "session/input_dispatcher.h"
#include "session/touch_translator.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace tessera::test {

// Plays a script of words d(own), m(ove) or u(p) "[finger:]x,y@ms" (finger 0 when not
// given), or t(ick) "@ms", which passes the time as the idle callback does.
inline void playTouches(TouchTranslator& touch, InputDispatcher& dispatcher, const char* script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        int finger = 0, x = 0, y = 0, at = 0;
        const char* point = word.c_str() + 1;
        if (word.find(':') != std::string::npos) {
            finger = std::atoi(point);
            point = std::strchr(point, ':') + 1;
        }
        if (word[0] == 't' ? std::sscanf(word.c_str(), "t@%d", &at) != 1
                           : std::sscanf(point, "%d,%d@%d", &x, &y, &at) != 3) {
            FAIL() << word;
        }
        const std::int64_t ticks = at * 1'000'000LL;
        if (word[0] == 'd') {
            touch.touchDown(finger, x, y, ticks);
        } else if (word[0] == 'm') {
            touch.touchMoved(finger, x, y, ticks);
        } else if (word[0] == 'u') {
            touch.touchUp(finger, x, y, ticks);
        } else {
            touch.tick(ticks);
            dispatcher.deliverIdle(ticks);
        }
    }
}

} // namespace tessera::test
