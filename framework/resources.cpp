// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/resources.h"

namespace kelvane::framework {

namespace {
const ResourceTable* theResources = nullptr;
}  // namespace

void AfxSetResources(const ResourceTable* table) {
    theResources = table;
}

const ResourceTable* AfxGetResources() {
    return theResources;
}

const DialogResource* FindDialogResource(unsigned id) {
    if (theResources == nullptr || theResources->findDialog == nullptr) return nullptr;
    return theResources->findDialog(id);
}

const BitmapResource* FindBitmapResource(unsigned id) {
    if (theResources == nullptr || theResources->findBitmap == nullptr) return nullptr;
    return theResources->findBitmap(id);
}

}  // namespace kelvane::framework
