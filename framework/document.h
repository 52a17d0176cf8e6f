// SPDX-License-Identifier: GPL-3.0-or-later
// The framework's document: a title shown in the frame's caption and a path once opened.
#pragma once

#include <string>

#include "framework/file.h"

namespace kelvane::framework {

class CFrameWnd;

class CDocument {
  public:
    virtual ~CDocument() = default;

    // The framework's new document: contents emptied, no path.
    virtual bool OnNewDocument();
    // The framework's open: reads the file through Serialize and takes its name as the title.
    // On failure error tells why and the document keeps its title.
    virtual bool OnOpenDocument(const std::string& pathName, CFileException* error);
    virtual void DeleteContents() {}
    virtual void Serialize(CFile& file, bool storing) { (void)file, (void)storing; }
    virtual bool OnCommand(int commandId) {
        (void)commandId;
        return false;
    }

    void SetTitle(const std::string& title);
    const std::string& GetTitle() const { return title_; }
    void SetPathName(const std::string& pathName);
    const std::string& GetPathName() const { return pathName_; }

    // The frame whose caption shows this document's title.
    void SetFrame(CFrameWnd* frame) { frame_ = frame; }

  private:
    std::string title_;
    std::string pathName_;
    CFrameWnd* frame_ = nullptr;
};

}  // namespace kelvane::framework
