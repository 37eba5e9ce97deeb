// The files the game loads pictures, sounds and meshes from, which a player may replace: the
// first byte picks the reader (images by their first bytes: PNG, JPEG or BMP; the WAV reader;
// the .x reader, whole and object by object), the rest is the file.
#include "fuzz_support.h"

#include "sys_image.h"
#include "wave_file.h"
#include "xfile_reader.h"

#include <cstdio>

namespace {

void CheckMesh(const XMeshData& d, const std::string& what) {
    const size_t n = d.positions.size();
    FUZZ_CHECK(d.normals.empty() || d.normals.size() == n, what);
    FUZZ_CHECK(d.texCoords.empty() || d.texCoords.size() == n, what);
    FUZZ_CHECK(d.colors.empty() || d.colors.size() == n, what);
    FUZZ_CHECK(d.indices.size() % 3 == 0, what);
    FUZZ_CHECK(d.faceMaterials.size() * 3 == d.indices.size(), what);
    for (uint32_t i : d.indices) FUZZ_CHECK(i < n, what);
    for (uint32_t m : d.faceMaterials) FUZZ_CHECK(m < d.materials.size(), what);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!MakeFuzzFolder("")) FuzzFail("no private folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CInFuzzFolder here;
    if (size < 1) return 0;
    const uint8_t* file = data + 1;
    const size_t fileSize = size - 1;
    switch (data[0] % 3) {
        case 0: {
            SysImage image;
            if (SysDecodeImage(file, fileSize, &image)) {
                FUZZ_CHECK(image.width > 0 && image.height > 0 && image.width <= kMaxImageSide &&
                               image.height <= kMaxImageSide,
                           std::to_string(image.width) + "x" + std::to_string(image.height));
                FUZZ_CHECK(image.argb.size() == (size_t)image.width * (size_t)image.height, "");
            }
            break;
        }
        case 1: {
            WaveFormat format;
            std::vector<uint8_t> pcm;
            if (ParseWave(file, fileSize, &format, &pcm) == WaveResult::Ok)
                FUZZ_CHECK(pcm.size() <= fileSize, std::to_string(pcm.size()));
            break;
        }
        case 2: {
            XMeshData mesh;
            std::string error;
            if (ParseXFile(reinterpret_cast<const char*>(file), fileSize, &mesh, &error)) CheckMesh(mesh, "whole file");
            FILE* f = fopen("fuzz.x", "wb");
            if (!f) FuzzFail("cannot write fuzz.x");
            fwrite(file, 1, fileSize, f);
            fclose(f);
            CXFileReader reader;
            if (reader.Open("fuzz.x", 0)) {
                XDataObject object;
                while (reader.FindMesh(&object)) {
                    XMeshData one;
                    if (reader.LoadMesh(object, &one, &error)) CheckMesh(one, "mesh " + object.name);
                }
            }
            break;
        }
    }
    return 0;
}
