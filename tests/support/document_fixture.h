#pragma once
// Every test of the tree on an empty data folder, with a document of its own that owns the
// root; what a test makes on the document (a bar, a host) goes first, in DropWindows.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/tree_document.h"
#include "model/data_path.h"
#include "model/keep_aside.h"
#include "model/voice_book.h"
#include "support/lark_process.h"
#include "support/test_util.h"

namespace test {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTree(DataFolder());
        model::DataFilePath(model::kDataFileName); // the folders exist again
        model::ForgetProtections();
        doc_ = std::make_unique<document::TreeDocument>();
    }
    void TearDown() override {
        DropWindows();
        doc_.reset();
        model::ForgetProtections();
        RemoveTree(DataFolder());
    }
    // The windows on the document, destroyed before it.
    virtual void DropWindows() {}

    oVoiceBook& Root() { return doc_->Root(); }
    const oVoiceBook& Root() const { return doc_->Root(); }
    static std::wstring InData(const std::wstring& name) { return DataFolder() + L"\\" + name; }

    std::unique_ptr<document::TreeDocument> doc_;
};

} // namespace test
