// The document: holds nothing; it gives the window its title.
#pragma once

#include "ui/document.h"

namespace kelvane {

class CChessDoc : public CDocument {
  public:
    bool OnNewDocument() override;
    // Reads and writes nothing: the game lives in the view.
    void Serialize(platform::CFile& file, bool storing) override { (void)file, (void)storing; }
};

}  // namespace kelvane
