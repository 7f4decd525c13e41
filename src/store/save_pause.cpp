#include "store/save_pause.h"

#include <utility>

namespace store {

namespace {

std::function<void(SavePoint)>& installedPause() {
    static std::function<void(SavePoint)> pause;
    return pause;
}

}  // namespace

void setSavePauseForTesting(std::function<void(SavePoint)> pause) {
    installedPause() = std::move(pause);
}

void pauseForTesting(SavePoint point) {
    if (const std::function<void(SavePoint)>& pause = installedPause()) {
        pause(point);
    }
}

}  // namespace store
