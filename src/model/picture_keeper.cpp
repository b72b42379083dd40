#include "model/picture_keeper.h"

#include <atomic>

namespace model {
namespace {
// Set on the window thread; nodes of folder scans are made and deleted on worker threads.
std::atomic<PictureKeeper*> g_keeper{nullptr};
} // namespace

void SetPictureKeeper(PictureKeeper* keeper) noexcept {
    g_keeper.store(keeper);
}

PictureKeeper* CurrentPictureKeeper() noexcept {
    return g_keeper.load();
}

} // namespace model
