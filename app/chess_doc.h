// SPDX-License-Identifier: GPL-3.0-or-later
// The document: holds nothing; it gives the window its title.
#pragma once

#include "framework/document.h"

namespace kelvane {

class CChessDoc : public framework::CDocument {
  public:
    bool OnNewDocument() override;
    // Reads and writes nothing: the game lives in the view.
    void Serialize(framework::CFile& file, bool storing) override { (void)file, (void)storing; }
};

}  // namespace kelvane
