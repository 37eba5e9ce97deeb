// The Direct3D device (placeholder until the device is built: it starts and frees nothing).
#pragma once

int InitDirect3D();   // 1 when the device is up
void FreeDirect3D();

