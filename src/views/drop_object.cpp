#include "views/drop_object.h"

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/data_transfer.h"
#include "views/drop_data.h"
#include "views/drop_rules.h"
#include "views/program_toolbar.h"

namespace views {
namespace {

// The block of one format of the data, copied out while it is locked; empty when the data
// does not offer it as global memory.
std::vector<uint8_t> ReadFormat(IDataObject* data, CLIPFORMAT format) {
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    fw::StgMedium medium;
    if (!data || FAILED(data->GetData(&request, medium.put())))
        return {};
    fw::GlobalLockScope<uint8_t> lock(medium.global());
    if (!lock)
        return {};
    return std::vector<uint8_t>(lock.get(), lock.get() + lock.size());
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data && data->QueryGetData(&request) == S_OK;
}

CLIPFORMAT RegisteredFormat(const wchar_t* name) {
    return static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(name));
}

// The parent's list without its terminator followed by the item's whole list.
fw::Pidl JoinLists(const std::vector<uint8_t>& parent, const std::vector<uint8_t>& item) {
    const size_t head = parent.size() - sizeof(USHORT);
    fw::Pidl out(static_cast<LPITEMIDLIST>(::CoTaskMemAlloc(head + item.size())));
    if (out) {
        auto* bytes = reinterpret_cast<uint8_t*>(out.get());
        std::memcpy(bytes, parent.data(), head);
        std::memcpy(bytes + head, item.data(), item.size());
    }
    return out;
}

POINT ToPoint(POINTL point) noexcept {
    return POINT{point.x, point.y};
}

} // namespace

LPARAM PackScreenPoint(POINT point) noexcept {
    return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(point.x, point.y)));
}

DWORD CDropObject::Answer(POINTL point) {
    const uint32_t flags = OutsideDragFlags(fileList_);
    const POINT screen = ToPoint(point);
    // The bar draws its drop mark for the point and answers whether the drop goes into it.
    const LRESULT into =
        ::SendMessageW(bar_.hwnd(), WM_LARK_DRAG_OVER, static_cast<WPARAM>(PackScreenPoint(screen)),
                       static_cast<LPARAM>(flags));
    return DragOverEffect(into == 1);
}

HRESULT STDMETHODCALLTYPE CDropObject::DragEnter(IDataObject* data, DWORD, POINTL point,
                                                 DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    fileList_ = Offers(data, CF_HDROP);
    if (!dragging_ && hold_)
        hold_(true);
    dragging_ = true;
    *effect = AllowedEffect(Answer(point), *effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropObject::DragOver(DWORD, POINTL point, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    *effect = AllowedEffect(Answer(point), *effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropObject::DragLeave() {
    ::SendMessageW(bar_.hwnd(), WM_LARK_DRAG_END, 0, 0);
    EndDrag();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropObject::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    const DWORD allowed = *effect;
    fileList_ = Offers(data, CF_HDROP);
    const DWORD wanted = AllowedEffect(Answer(point), allowed);
    Take(data, point, wanted);
    ::PostMessageW(bar_.hwnd(), WM_LARK_DRAG_END, 0, 0);
    EndDrag();
    // Whatever the bar did, the source keeps its data.
    *effect = FinalDropEffect(allowed);
    return S_OK;
}

void CDropObject::Take(IDataObject* data, POINTL point, DWORD effect) {
    const POINT screen = ToPoint(point);
    ::SetForegroundWindow(::GetAncestor(bar_.hwnd(), GA_ROOT));
    bool into = false;
    const std::vector<uint8_t> files = ReadFormat(data, CF_HDROP);
    if (!files.empty()) {
        const std::vector<std::wstring> paths = ParseFileList(files.data(), files.size());
        if (IntoFromEffect(effect, into) && !paths.empty())
            bar_.DropPaths(paths, screen, into);
        return;
    }
    const std::vector<uint8_t> items = ReadFormat(data, RegisteredFormat(L"Shell IDList Array"));
    ShellItemArray array;
    if (ParseShellItemArray(items.data(), items.size(), array) && !array.items.empty()) {
        for (const std::vector<uint8_t>& item : array.items)
            if (fw::Pidl list = JoinLists(array.parent, item))
                bar_.DropItemIdList(std::move(list), screen);
        return;
    }
    const std::vector<uint8_t> url = ReadFormat(data, RegisteredFormat(L"UniformResourceLocator"));
    const std::wstring address = ParseAddress(url.data(), url.size());
    if (!address.empty() && IntoFromEffect(effect, into))
        bar_.DropPaths({address}, screen, into);
}

void CDropObject::EndDrag() {
    if (dragging_ && hold_)
        hold_(false);
    dragging_ = false;
}

} // namespace views
