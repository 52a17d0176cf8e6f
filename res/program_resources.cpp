// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/program_resources.h"

#include "res/about_dialog_resource.h"
#include "res/bitmap_resources.h"
#include "res/kelvane_icon.xpm"
#include "res/menu_resource.h"
#include "res/string_resource.h"

namespace kelvane::res {

const framework::ResourceTable& ProgramResources() {
    static const framework::ResourceTable table{
        kMainFrameResource, kDocumentStrings, kApplicationTitle,  MainMenuBar(),
        MainAccelerators(), kelvane_icon,     FindDialogResource, FindBitmapResource,
    };
    return table;
}

const framework::ResourceTable& ExtrasProgramResources() {
    static const framework::ResourceTable table{
        kMainFrameResource, kDocumentStrings, kApplicationTitle,  ExtrasMenuBar(),
        MainAccelerators(), kelvane_icon,     FindDialogResource, FindBitmapResource,
    };
    return table;
}

}  // namespace kelvane::res
