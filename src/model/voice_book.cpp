#include "model/voice_book.h"

#include <utility>
#include <vector>

#include "model/image_lists.h"
#include "model/pidl.h"

oVoiceBook* g_pVoiceBook = nullptr;

namespace {
constexpr int32_t kShowDefault = 10; // SW_SHOWDEFAULT, stored as normal
constexpr int32_t kGoUpPicture = 12;
constexpr int kGoUpDepth = 32767;

int32_t NormalisedShow(int32_t show) {
    return show == kShowDefault ? 1 : show;
}
} // namespace

oVoiceBook::oVoiceBook() {
    Reset();
}

oVoiceBook::oVoiceBook(const NodeRecordFields& record) {
    Reset();
    SetFromRecord(record);
}

oVoiceBook::~oVoiceBook() {
    icons::ReleaseImages(*this);
}

void oVoiceBook::Reset() {
    icons::ReleaseImages(*this); // before the indices are cleared below
    oTreeNode::Clear();
    m_strCommand.clear();
    m_strArguments.clear();
    m_strWorkDir.clear();
    m_strIconFile.clear();
    m_nIconIndex = 0;
    m_nShowCmd = 1;
    m_nKind = KIND_BOOK;
    m_nFlags = 0x02;
    m_pidl.reset();
    m_nImage = -1;
    m_nGrayImage = -1;
    m_nDefaultImage = -1;
    m_bScanSubFolders = 0;
    m_nRole = ROLE_NORMAL;
    icons::BuildImageLists();
}

void oVoiceBook::SetIcon(const wchar_t* file, int32_t index) {
    m_strIconFile = file ? file : L"";
    m_nIconIndex = index;
}

const std::wstring& oVoiceBook::GetIcon(int32_t* index) const {
    if (index)
        *index = m_nIconIndex;
    return m_strIconFile;
}

void oVoiceBook::SetAll(const wchar_t* name, int32_t kind, uint32_t flags, const wchar_t* command,
                        const wchar_t* arguments, const wchar_t* workDir, const wchar_t* iconFile,
                        int32_t iconIndex, int32_t showCmd) {
    SetName(name);
    m_nKind = kind;
    m_nFlags = flags;
    SetCommand(command);
    SetArguments(arguments);
    SetWorkDir(workDir);
    SetIcon(iconFile, iconIndex);
    m_nShowCmd = showCmd;
}

void oVoiceBook::SetRole(int32_t role) {
    m_nRole = role;
    if (role == ROLE_GO_UP) {
        icons::ReleaseImages(*this);
        m_nImage = kGoUpPicture;
        m_nGrayImage = kGoUpPicture;
        m_nDepth = kGoUpDepth;
    }
}

void oVoiceBook::SetFromRecord(const NodeRecordFields& r) {
    SetAll(r.name.c_str(), r.kind, r.flags, r.command.c_str(), r.arguments.c_str(),
           r.workDir.c_str(), r.iconFile.c_str(), r.iconIndex, NormalisedShow(r.showCmd));
    m_nDefaultImage = r.defaultImage;
    m_bScanSubFolders = r.scanSubFolders;
    m_nRole = r.role;
}

NodeRecordFields oVoiceBook::ToRecord() const {
    NodeRecordFields r;
    r.name = m_strName;
    r.command = m_strCommand;
    r.arguments = m_strArguments;
    r.workDir = m_strWorkDir;
    r.iconFile = m_strIconFile;
    r.iconIndex = m_nIconIndex;
    r.defaultImage = m_nDefaultImage;
    r.scanSubFolders = m_bScanSubFolders;
    r.kind = m_nKind;
    r.flags = m_nFlags;
    r.role = m_nRole;
    r.showCmd = NormalisedShow(m_nShowCmd);
    return r;
}

void oVoiceBook::CopyFrom(const oVoiceBook& source) {
    SetAll(source.m_strName.c_str(), source.m_nKind, source.m_nFlags, source.m_strCommand.c_str(),
           source.m_strArguments.c_str(), source.m_strWorkDir.c_str(), source.m_strIconFile.c_str(),
           source.m_nIconIndex, source.m_nShowCmd);
    m_pidl.reset(model::PidlClone(source.m_pidl.get()));
    icons::ShareImage(*this, source);
    m_nDefaultImage = source.m_nDefaultImage;
    m_bScanSubFolders = source.m_bScanSubFolders;
    m_nRole = source.m_nRole;
}

oVoiceBook* oVoiceBook::AddChild(const wchar_t* name, int32_t kind, uint32_t flags,
                                 const wchar_t* command, const wchar_t* arguments,
                                 const wchar_t* workDir, const wchar_t* iconFile, int32_t iconIndex,
                                 int32_t showCmd) {
    auto* node = new oVoiceBook();
    node->SetAll(name, kind, flags, command, arguments, workDir, iconFile, iconIndex, showCmd);
    AppendChild(node);
    return node;
}

oVoiceBook* oVoiceBook::AddAfter(const wchar_t* name, int32_t kind, uint32_t flags,
                                 const wchar_t* command, const wchar_t* arguments,
                                 const wchar_t* workDir, const wchar_t* iconFile, int32_t iconIndex,
                                 int32_t showCmd) {
    auto* node = new oVoiceBook();
    node->SetAll(name, kind, flags, command, arguments, workDir, iconFile, iconIndex, showCmd);
    InsertAfter(node);
    return node;
}

void oVoiceBook::ResetAll(const wchar_t* name) {
    DeleteChildren();
    icons::ReleaseImages(*this);
    icons::DestroyImageLists();
    Reset();
    SetName(name);
    m_nKind = KIND_BOOK;
    m_nFlags = (m_nFlags & ~1u) | 2u;
}

int oVoiceBook::CountChildCategories() const {
    int count = 0;
    for (const oVoiceBook* c = FirstChild(); c; c = c->Next())
        if (c->m_nKind & KIND_BOOK)
            ++count;
    return count;
}

oVoiceBook* oVoiceBook::CloneTree() const {
    auto* copy = new oVoiceBook();
    copy->CopyFrom(*this);
    // Explicit work list instead of recursion: pairs of (source, its copy).
    std::vector<std::pair<const oVoiceBook*, oVoiceBook*>> pending{{this, copy}};
    while (!pending.empty()) {
        auto [source, target] = pending.back();
        pending.pop_back();
        for (const oVoiceBook* child = source->FirstChild(); child; child = child->Next()) {
            auto* childCopy = new oVoiceBook();
            childCopy->CopyFrom(*child);
            target->AppendChild(childCopy);
            if (child->HasChildren())
                pending.emplace_back(child, childCopy);
        }
    }
    return copy;
}
