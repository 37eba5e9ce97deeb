// Platform-internal: one decoder per image library. Each fills the image or returns 0.
#pragma once

#include "sys_image.h"

int DecodePng(const unsigned char* data, size_t size, SysImage* image);
int DecodeJpeg(const unsigned char* data, size_t size, SysImage* image);
int DecodeBmp(const unsigned char* data, size_t size, SysImage* image);
