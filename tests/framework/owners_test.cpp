// The COM object base and the registration owners against the real system services.
#include <gtest/gtest.h>

#include "framework/com.h"
#include "framework/com_object.h"
#include "framework/data_transfer.h"
#include "framework/registrations.h"
#include "framework/window.h"
#include "support/test_util.h"

namespace {

class DropTarget final : public fw::ComObject<IDropTarget> {
public:
    explicit DropTarget(bool& gone) : gone_(gone) {}
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }

private:
    ~DropTarget() override { gone_ = true; }
    bool& gone_;
};

// The reference count as the object reports it after one more AddRef/Release pair.
ULONG RefCount(IUnknown* p) {
    p->AddRef();
    return p->Release();
}

struct TestWindow : fw::Window {
    TestWindow() {
        fw::Window::RegisterClass(L"LarkTestOwners");
        Create(0, L"LarkTestOwners", L"owners", WS_POPUP, RECT{0, 0, 40, 40}, nullptr, 0);
    }
    ~TestWindow() override { Destroy(); }
};

TEST(ComObjectTest, TheSystemsReferencesComeBackAndTheLastReleaseDeletes) {
    fw::OleInit ole;
    ASSERT_HRESULT_SUCCEEDED(ole.result());
    TestWindow window;
    ASSERT_NE(window.hwnd(), nullptr) << ::GetLastError();
    bool gone = false;
    {
        fw::ComPtr<DropTarget> target = fw::MakeComObject<DropTarget>(gone);
        ASSERT_TRUE(target);
        EXPECT_EQ(RefCount(target.get()), 1u);
        EXPECT_TRUE(target.As<IDropTarget>());
        EXPECT_TRUE(target.As<IUnknown>());
        EXPECT_FALSE(target.As<IDataObject>());
        EXPECT_EQ(RefCount(target.get()), 1u) << "the interface queries gave their references back";
        {
            const fw::ComPtr<DropTarget> shared(target.get());
            EXPECT_EQ(RefCount(target.get()), 2u) << "sharing a pointer adds a reference";
        }
        EXPECT_EQ(RefCount(target.get()), 1u);
        {
            fw::DropTargetRegistration registration;
            ASSERT_HRESULT_SUCCEEDED(registration.Register(window.hwnd(), target.get()));
            EXPECT_GT(RefCount(target.get()), 1u) << "the system holds the target";
            EXPECT_EQ(::RegisterDragDrop(window.hwnd(), target.get()),
                      DRAGDROP_E_ALREADYREGISTERED);
        }
        EXPECT_EQ(RefCount(target.get()), 1u) << "revoking gave the system's references back";
        EXPECT_HRESULT_SUCCEEDED(::RegisterDragDrop(window.hwnd(), target.get()));
        ::RevokeDragDrop(window.hwnd());
        EXPECT_FALSE(gone);
    }
    EXPECT_TRUE(gone);
}

TEST(RegistrationTest, OwnersGiveBackTheirHotkeyAndTrayIcon) {
    TestWindow window;
    ASSERT_NE(window.hwnd(), nullptr) << ::GetLastError();
    TestWindow other;
    const UINT mods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
    {
        fw::HotKey hotkey;
        ASSERT_TRUE(hotkey.Register(window.hwnd(), 1, mods, VK_F9)) << ::GetLastError();
        EXPECT_FALSE(::RegisterHotKey(other.hwnd(), 2, mods, VK_F9)) << "the key is taken";
    }
    EXPECT_TRUE(::RegisterHotKey(other.hwnd(), 2, mods, VK_F9)) << ::GetLastError();
    ::UnregisterHotKey(other.hwnd(), 2);

    // The notification area comes up with the desktop process, which may still be starting.
    ASSERT_TRUE(
        test::WaitUntil([] { return ::FindWindowW(L"Shell_TrayWnd", nullptr); }, test::kPatientMs));
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof(probe);
    probe.hWnd = window.hwnd();
    probe.uID = 100;
    probe.uFlags = NIF_TIP;
    {
        fw::TrayIcon icon;
        ASSERT_TRUE(icon.Add(window.hwnd(), 100, WM_APP + 0x63,
                             ::LoadIconW(nullptr, IDI_APPLICATION), std::wstring(300, L'x')))
            << ::GetLastError();
        EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon is there";
    }
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon is gone";
}

TEST(DataTransferTest, GlobalMemoryLocksAndMediumsRelease) {
    fw::GlobalMemory memory = fw::AllocGlobal(16);
    ASSERT_TRUE(memory);
    {
        fw::GlobalLockScope<char> lock(memory.get());
        ASSERT_TRUE(lock);
        EXPECT_GE(lock.size(), 16u);
        EXPECT_EQ(::GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(::GlobalFlags(memory.get()) & GMEM_LOCKCOUNT, 0u);
    fw::StgMedium medium;
    STGMEDIUM* raw = medium.put();
    raw->tymed = TYMED_HGLOBAL;
    const HGLOBAL handed = memory.release();
    raw->hGlobal = handed;
    EXPECT_EQ(medium.global(), handed);
    medium.reset();
    EXPECT_EQ(::GlobalSize(handed), 0u) << "the medium freed its memory";
}

} // namespace
