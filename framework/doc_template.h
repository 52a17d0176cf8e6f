// SPDX-License-Identifier: GPL-3.0-or-later
// The framework's single-document template: one document, one frame, one view, created from
// their classes at the first New or Open and reused afterwards.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/document.h"
#include "framework/frame_wnd.h"

namespace kelvane::framework {

class CSingleDocTemplate {
  public:
    CSingleDocTemplate(unsigned resourceId, std::function<std::unique_ptr<CDocument>()> newDocument,
                       std::function<std::unique_ptr<CFrameWnd>()> newFrame,
                       std::function<std::unique_ptr<CView>()> newView);
    ~CSingleDocTemplate();

    // New when pathName is empty, else Open. Null when it failed; error then tells why an
    // open failed (its cause stays none for any other failure).
    CDocument* OpenDocumentFile(const std::string& pathName, ShellPlatform& platform,
                                const CommandSink& commands, CFileException* error);

    CDocument* GetDocument() const { return document_.get(); }
    CFrameWnd* GetFrame() const { return frame_.get(); }

  private:
    bool CreateDocumentAndFrame(ShellPlatform& platform, const CommandSink& commands);

    unsigned resourceId_;
    std::function<std::unique_ptr<CDocument>()> newDocument_;
    std::function<std::unique_ptr<CFrameWnd>()> newFrame_;
    std::function<std::unique_ptr<CView>()> newView_;
    std::unique_ptr<CDocument> document_;
    std::unique_ptr<CFrameWnd> frame_;
};

}  // namespace kelvane::framework
