#pragma once
// The one owner of the tree: its root, and the data file's life cycle around it. Opening
// reads the tree (the data file, the older files, the first run; a file that cannot be read
// whole is kept), changes start the save countdown, a due save is built here and written by
// the writer thread, the exit writes what is pending. Whoever keeps pointers into the tree
// listens, and is told before nodes are deleted or moved.
//
// The document has no window of its own. The window that opens it (its host) receives the
// messages of the writer and of a held file's reader and hands them to OnMessage; the host's
// one-second timer calls Tick.
//
// The data file may be written by another copy of the bar (a second machine on a synced
// folder): the document remembers what it last read or wrote, and checks the file before
// every save and a couple of seconds after its folder changed (DataFileWatch). A file changed
// elsewhere is read again while nothing of ours is pending; with an edit pending, the other
// version is kept beside the file and the user told where, before ours is written.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "document/data_file_watch.h"
#include "document/file_stamp.h"
#include "document/save_countdown.h"
#include "document/tree_save.h"
#include "document/tree_startup.h"
#include "model/tree_snapshot.h"

class oVoiceBook;
namespace model {
class DataFileWriter;
class HeldFileReader;
class StagedTreeRead;
} // namespace model

// Posted by the data-file writer to the host: wParam the save's ticket, lParam 1 when the
// file was replaced, 0 when the write failed.
constexpr UINT WM_LARK_SAVE_DONE = 0xA6C2;
// Posted by the document to its host at start-up when the data file could not be read
// whole: the user is told once the bar is up.
constexpr UINT WM_LARK_LOAD_NOTICE = 0xA6C9;
// Posted by the reader of a data file that another program held at start-up, once it could
// read it (or found it gone).
constexpr UINT WM_LARK_HELD_FILE_READ = 0xA6CA;
// Posted by the worker that decodes the rest of the tree at start-up, once it is done.
constexpr UINT WM_LARK_TREE_DECODED = 0xA6CC;

namespace document {

class TreeListener {
public:
    enum class Change { Deleting, Moving };
    // Before `subtree` (with itself when `self`, else only what lies below it) is deleted, or
    // before it is moved to another place in the tree.
    virtual void NodesChanging(const oVoiceBook& subtree, bool self, Change change) = 0;
    // The data file held at start-up has been read, or the data file changed elsewhere was
    // read again; `replaced` when the tree is new (the shown category is the root's command
    // when it still exists).
    virtual void TreeRead(bool replaced) = 0;
    // The start category was shown before all of its children were read; the rest of them
    // have now come in after those it had.
    virtual void CategoryCompleted(oVoiceBook& category) = 0;

protected:
    ~TreeListener() = default;
};

class TreeDocument {
public:
    // How long the exit waits for the writer thread before it writes the tree itself.
    static constexpr DWORD kExitWaitMs = 15000;
    // The same at the end of a session: the system does not wait long for a program to end.
    static constexpr DWORD kSessionEndWaitMs = 3000;

    // Makes the writer thread of the countdown's saves, reporting to `host` with `message`
    // (a test's may be held at a known point).
    using WriterFactory =
        std::function<std::unique_ptr<model::DataFileWriter>(HWND host, UINT message)>;

    TreeDocument();
    ~TreeDocument();
    TreeDocument(const TreeDocument&) = delete;
    TreeDocument& operator=(const TreeDocument&) = delete;

    // The whole tree: while the rest of the file is still being decoded (IsComplete), this
    // waits for it first, so that nothing that takes the tree as whole sees a part.
    oVoiceBook& Root() {
        WaitUntilComplete();
        return *m_root;
    }
    const oVoiceBook& Root() const noexcept { return *m_root; }
    // The tree as far as it is read, for what the first paint needs: the root's list is whole,
    // and so is the start category; other categories may be empty until IsComplete.
    oVoiceBook& LoadedRoot() noexcept { return *m_root; }

    // Before Open: a data file found sound and whole is read in two steps. Open reads the
    // root's list and the start category; the rest is decoded on a worker thread that hands
    // plain values back through WM_LARK_TREE_DECODED, and the nodes are made and attached on
    // this thread. Without a host the whole file is read in Open.
    // With `beginLater`, the worker waits for BeginRestOfTree, so that it does not compete with
    // the host's first paint; anything that needs the whole tree before then reads the rest
    // itself.
    void SetReadInStages(bool on, bool beginLater = false) noexcept {
        m_bStaged = on;
        m_bBeginRestLater = beginLater;
    }
    // How many of the start category's children are read before the first paint (the rest
    // come with the rest of the tree): the host sets what a page of it can show; this many
    // when it does not.
    static constexpr size_t kStartChildren = 256;
    void SetStartChildren(size_t count) noexcept { m_nStartChildren = count; }
    // Starts the worker that reads the rest of the tree, if it waits for this.
    void BeginRestOfTree();
    // The whole tree is in; false between Open and the rest attached, and for good once the
    // rest was stopped before it was in (Close): such a part of the tree is never saved.
    // Not while a refused file is being read whole in its place either: the first run that
    // may follow dispatches the bar's messages while it builds the tree.
    bool IsComplete() const noexcept { return !m_rest && !m_bCutShort && !m_bReplacing; }
    // For tests: handed to the read of the rest of the tree when it starts
    // (model::StagedTreeRead::SetCheckpoint).
    void SetRestCheckpoint(std::function<void(size_t, const std::atomic<bool>&)> checkpoint) {
        m_restCheckpoint = std::move(checkpoint);
    }
    // Waits for the rest of the tree and attaches it; nothing when it is complete. A file
    // the rest's check refused stays as it is here (incomplete, never saved) until
    // ReplaceRefused, from the message loop or the timer, reads it whole in its place.
    void WaitUntilComplete();
    // What lies below `node` can be shown: the tree is complete, or `node` lies in the start
    // category (whose children past those read first may still be on their way:
    // CategoryCompleted tells when they are in).
    bool CanShow(const oVoiceBook& node) const;
    // The node with this serial number, or null (0, or gone from the tree).
    oVoiceBook* Find(uint64_t serial) const;

    void SetWriterFactory(WriterFactory factory) { m_makeWriter = std::move(factory); }
    void AddListener(TreeListener* listener);
    void RemoveListener(TreeListener* listener);

    // Reads the tree (with the wait cursor) and starts the writer. `host` receives the
    // document's messages (may be null: nothing is reported then), `owner` owns what the
    // first run shows. Opening again reads afresh and starts a new session of saves.
    void Open(HWND host, HWND owner);
    // The host is going: a held file is no longer waited for and the writer finishes what it
    // was given (within its bounds). Later saves are made synchronously.
    void Close();
    // The document's messages; false for any other.
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    // How many timer ticks after a change in the data file's folder the file is checked:
    // a sync tool's burst of writes comes to rest first.
    static constexpr int kCheckDelayTicks = 2;

    // The modification notice every edit of the tree ends with: the tree is written about a
    // minute later.
    void MarkModified() noexcept {
        ++m_nEdits;
        m_countdown.MarkModified();
    }
    // An edit of the tree not yet known to be in the file (a shown category is none).
    bool IsEditPending() const;
    // Compares the data file with what was last read or written: a file changed elsewhere
    // is read again unless an edit is pending (its save settles it) or a dialog of the host
    // is open (checked again on the next tick).
    void CheckDataFile();
    // `category` is the one shown: the root records it, and the countdown restarts so that
    // the record reaches the data file.
    void NoteCategoryShown(const oVoiceBook& category);
    // One second of the countdown; the save, when due, is handed to the writer.
    void Tick();
    // At exit and at the end of a session: waits up to `maxWaitMs` for a save still being
    // written, then writes the tree here when a change is pending, that save failed or it
    // did not finish in time. When it returns, the newest tree is in the file (or the change
    // is still pending after a failure).
    void SaveIfPending(DWORD maxWaitMs = kExitWaitMs);

    bool IsSavePending() const noexcept { return m_countdown.IsPending(); }
    // A save handed to the writer whose outcome has not come back yet.
    bool IsSaveUnderWay() const noexcept;
    // The tree was built by the first run when the document was opened.
    bool StartedWithFirstRun() const noexcept { return m_bFirstRun; }
    // Another program held the data file at start-up: the tree is empty, and the file is read
    // the moment it is let go.
    bool IsWaitingForDataFile() const noexcept { return static_cast<bool>(m_heldReader); }
    // What the user is still to be told about the data file; empty when nothing.
    const std::wstring& LoadNotice() const noexcept { return m_strLoadNotice; }

    // Tells the listeners, before the edit, that `subtree` (with itself when `self`) is about
    // to be deleted or moved. Every such notice makes the tree's change count go up.
    void WillChange(const oVoiceBook& subtree, bool self, TreeListener::Change change);
    // Counts the notices: a menu built before a change names nothing.
    uint32_t ChangeCount() const noexcept { return m_nChanges; }
    // Removes `node` with its subtree and deletes it (the listeners told first).
    void Remove(oVoiceBook& node);
    // Deletes what lies below `category` (the listeners told first).
    void DeleteChildren(oVoiceBook& category);

private:
    // The countdown's save: a snapshot of the tree is taken here and handed to the writer
    // thread, which builds and writes the file and reports back with WM_LARK_SAVE_DONE.
    void StartSave();
    // Writes the tree here and now; a failed save stays pending.
    void SaveNow();
    // A save taking a snapshot of the tree now.
    std::shared_ptr<TreeSave> NewSave();
    // Once the whole tree is in: readies m_spare for the first save (m_preparing).
    void PrepareFirstSave();
    // Before m_spare is used: the thread readying it is done.
    void JoinPreparing() noexcept;
    // What follows a save that is over: a notice of the other version kept, a failed save
    // pending again, a file changed elsewhere read again (not `atExit`).
    void SaveFinished(TreeSave& save, bool atExit);
    // Reads the file changed elsewhere (`bytes` as read) in place of the tree, keeping the
    // shown category; one that cannot be read whole is left alone and the user told once.
    // True when the shown category kept is not the one the file records.
    bool Reload(const std::vector<uint8_t>& bytes, const FileStamp& stamp);
    void PostNotice(const std::wstring& text);
    // No dialog of the host's window is open (the tree may be replaced under it).
    bool HostIsFree() const;
    // Where nothing holds a node (a message of the loop, the timer), and no dialog is open:
    // the tree of a file the rest's check refused is replaced by the file read whole.
    void ReplaceRefused();
    bool m_bReplacing = false; // WaitUntilComplete may replace the tree
    bool m_bWatching = false;  // the folder's watch and the writer run
    void SaveDone(uint32_t ticket, bool replaced);
    // Keeps what a reading gave and posts its notice.
    void TakeLoad(const StartupLoad& load);
    void ShowLoadNotice();
    // The data file held at start-up has been read in the background.
    void LoadHeldFile();

    // The rest of the tree being decoded at start-up; null once complete.
    struct RestOfTree;
    // Starts the worker that decodes `read`'s rest; `load` is settled when it is attached.
    void StartRest(std::unique_ptr<model::StagedTreeRead> read, const StartupLoad& load);
    static void ReadRestOf(RestOfTree& rest);
    void ReadRestHere(RestOfTree& rest);
    void StartWatchAndWriter();
    // Ends the worker without attaching what it read (the host is going).
    void StopRest() noexcept;

    std::unique_ptr<oVoiceBook> m_root;
    std::unique_ptr<RestOfTree> m_rest;
    bool m_bCutShort = false; // the rest was stopped before it was in: the tree is a part
    std::function<void(size_t, const std::atomic<bool>&)> m_restCheckpoint;
    bool m_bStaged = false;
    bool m_bBeginRestLater = false;
    size_t m_nStartChildren = kStartChildren;
    std::vector<TreeListener*> m_listeners;
    WriterFactory m_makeWriter;
    HWND m_host = nullptr;
    HWND m_owner = nullptr;
    uint32_t m_nChanges = 0;

    SaveCountdown m_countdown;
    std::unique_ptr<model::DataFileWriter> m_writer;
    std::unique_ptr<model::HeldFileReader> m_heldReader; // while waiting for the data file
    uint32_t m_nSaveTicket = 0;                          // the last save handed to the writer
    uint32_t m_nReportedTicket = 0;                      // the last one whose outcome came back
    // Saves handed over up to this ticket are covered by a newer tree known to be in the
    // file: their outcome no longer matters.
    uint32_t m_nSupersededTicket = 0;
    std::wstring m_strLoadNotice; // shown once; empty when there is none
    // The data file as last read or written (the writer's saves update it as they swap).
    std::shared_ptr<KnownFile> m_file;
    std::map<uint32_t, std::shared_ptr<TreeSave>> m_saves; // by ticket, until reported
    model::TreeSnapshot m_spare;           // the memory of the last snapshot, for the next
    std::thread m_preparing;               // readying m_spare's memory; joined before it is used
    uint64_t m_nEdits = 0;                 // edits made since opening
    int m_nCheckIn = 0;                    // ticks until the file is checked; 0: none
    std::optional<FileStamp> m_unreadable; // a changed file not read whole, told once
    DataFileWatch m_watch;
    bool m_bFirstRun = false; // the tree was built by the first-run set-up
};

} // namespace document
