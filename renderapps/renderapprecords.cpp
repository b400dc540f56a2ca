// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "renderapps/renderapprecords.h"

namespace kxRA {

void _RenderAppBasic::clearBasic() {
    appVersionMajor = 0;
    value_2 = -1;
    byte_4 = 0;
    byte_5 = 1;
    renderApp.clear();
    renderer.clear();
    appType.set("3D");
    rendererVersion.clear();
    appVersionMinor.clear();
}

void _ClientRenderApp::clear() {
    executable.clear();
    parameter.clear();
    name.clear();
    versionMinor.set("00000");
    versionMajor = 0;
    value_256 = -1;
}

} // namespace kxRA
