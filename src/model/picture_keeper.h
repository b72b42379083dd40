#pragma once
// The pictures nodes show live in image lists kept by a layer that draws; a node holds only
// their indices (m_nImage, m_nGrayImage). That keeper counts each picture's users, so the
// tree tells it when a node gives its pictures up, when a copy shows its source's picture,
// and when the whole tree starts afresh. Without a keeper the indices are plain numbers.
namespace model {

class PictureKeeper {
public:
    // One user fewer of `picture` (an index of 0 or more).
    virtual void Release(int picture) noexcept = 0;
    // One user more of `picture` (an index of 0 or more).
    virtual void AddUser(int picture) noexcept = 0;
    // Every node is gone or reset: the pictures start afresh.
    virtual void StartAfresh() = 0;

protected:
    ~PictureKeeper() = default;
};

// The keeper sets itself once it has pictures; it lives as long as the process.
void SetPictureKeeper(PictureKeeper* keeper) noexcept;
PictureKeeper* CurrentPictureKeeper() noexcept;

} // namespace model
