#pragma once
// The drop target of the main window: data dragged in from other programs is offered to the
// program button bar, which shows where it would land and takes it when it is dropped.
#include <windows.h>
#include <ole2.h>

#include <functional>

#include "framework/com_object.h"

class CProgramToolBar;

namespace views {

class CDropObject final : public fw::ComObject<IDropTarget> {
public:
    // Told true when a drag comes over the window (bring it forward, expand it and hold it)
    // and false when the drag leaves or ends in a drop.
    using HoldCallback = std::function<void(bool dragging)>;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

private:
    template <class T, class... Args> friend fw::ComPtr<T> fw::MakeComObject(Args&&...);
    CDropObject(CProgramToolBar& bar, HoldCallback hold) : bar_(bar), hold_(std::move(hold)) {}

    // The answer of the bar for the point: into the target (a move) or beside it (a copy).
    DWORD Answer(POINTL point);
    // Reads the first of the three formats the data offers and hands it to the bar.
    void Take(IDataObject* data, POINTL point, DWORD effect);
    void EndDrag();

    CProgramToolBar& bar_;
    HoldCallback hold_;
    bool fileList_ = false;
    bool dragging_ = false;
};

// What the drag messages of the bar carry: a screen point packed as x low word, y high word.
LPARAM PackScreenPoint(POINT point) noexcept;

} // namespace views
