// The .x reader: a hand-written file with frames, materials, a texture and a pentagon; bad,
// truncated and huge-count inputs; a short fuzz run over truncations and bit flips; and the
// enumeration of a file's top-level objects.
#include "test_folder.h"
#include "xfile_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kGood[] = R"(xof 0302txt 0032
// a comment
template Unused {
 <12345678-1234-1234-1234-123456789ABC>
 DWORD nCount;
 array DWORD items[nCount];
 [...]
}
template Restricted { <12345678-1234-1234-1234-123456789ABD> [Mesh <3D82AB44-62DA-11cf-AB39-0020AF71E433>] }

Material Red {
 1.0;0.0;0.0;1.0;;
 5.0;
 0.5;0.5;0.5;;
 0.0;0.0;0.0;;
}

Header { 1; 0; 1; }

Frame Root {
  FrameTransformMatrix {
    1.0,0.0,0.0,0.0,
    0.0,1.0,0.0,0.0,
    0.0,0.0,1.0,0.0,
    10.0,0.0,0.0,1.0;;
  }
  Frame Inner {
    FrameTransformMatrix {
      2.0,0.0,0.0,0.0, 0.0,2.0,0.0,0.0, 0.0,0.0,2.0,0.0, 0.0,1.0,0.0,1.0;;
    }
    Mesh Pent {
      6;
      0.0;0.0;0.0;,
      1.0;0.0;0.0;,
      1.5;1.0;0.0;,
      0.5;2.0;0.0;,
      -0.5;1.0;0.0;,
      9.0;9.0;9.0;;
      2;
      5;0,1,2,3,4;,
      3;0,1,5;;
      MeshMaterialList {
        2;
        2;
        0,
        1;;
        { Red }
        Material Blue {
          0.0;0.0;1.0;0.5;;
          1.0;
          0.0;0.0;0.0;;
          0.1;0.2;0.3;;
          TextureFilename { "tex\blue.png"; }
        }
      }
      MeshTextureCoords {
        6;
        0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;, 0.5;0.5;, 0.25;0.75;;
      }
      UnknownThing { 1; 2; { nested } 3; }
    }
  }
}
Mesh Second {
  3;
  0;0;0;, 0;0;1;, 1;0;0;;
  1;
  3;0,1,2;;
}
)";

TEST(XFileReader, ReadsFramesMaterialsTexturesAndFans) {
    XMeshData d;
    std::string error;
    ASSERT_EQ(ParseXFile(kGood, sizeof kGood - 1, &d, &error), 1) << error;
    // Vertices in file order, through Inner (scale 2, up 1) and Root (x + 10).
    ASSERT_EQ(d.positions.size(), 9u);
    EXPECT_EQ(d.positions[0], Vec3(10, 1, 0));
    EXPECT_EQ(d.positions[1], Vec3(12, 1, 0));
    EXPECT_EQ(d.positions[3], Vec3(11, 5, 0));
    EXPECT_EQ(d.positions[5], Vec3(28, 19, 18));
    EXPECT_EQ(d.positions[6], Vec3(0, 0, 0));  // the second mesh, untransformed
    // The pentagon fans into three triangles, then the triangle, then the second mesh.
    const uint32_t want[] = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 1, 5, 6, 7, 8};
    ASSERT_EQ(d.indices.size(), 15u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(d.indices[i], want[i]) << i;
    const uint32_t mats[] = {0, 0, 0, 1, 2};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(d.faceMaterials[i], mats[i]);
    // Red by reference, Blue inline with its texture, a default for the mesh without any.
    ASSERT_EQ(d.materials.size(), 3u);
    EXPECT_EQ(d.materials[0].faceColor.r, 1.0f);
    EXPECT_EQ(d.materials[0].power, 5.0f);
    EXPECT_EQ(d.materials[0].textureFile, "");
    EXPECT_EQ(d.materials[1].faceColor.a, 0.5f);
    EXPECT_EQ(d.materials[1].emissive.b, 0.3f);
    EXPECT_EQ(d.materials[1].textureFile, "tex\\blue.png");
    EXPECT_EQ(d.materials[2].faceColor.g, 1.0f);
    ASSERT_EQ(d.texCoords.size(), 9u);
    EXPECT_EQ(d.texCoords[5].x, 0.25f);
    EXPECT_EQ(d.texCoords[7].x, 0.0f);
    EXPECT_TRUE(d.normals.empty());
}

TEST(XFileReader, NormalsSplitVerticesAtTheEndOnly) {
    const char text[] = R"(xof 0303txt 0064
Mesh {
 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;
 2; 3;0,1,2;, 3;0,2,3;;
 MeshNormals {
  2; 0;0;-1;, 0;1;0;;
  2; 3;0,0,0;, 3;1,1,1;;
 }
 MeshVertexColors { 1; 2; 1.0;0.0;0.0;1.0;;; }
}
)";
    XMeshData d;
    std::string error;
    ASSERT_EQ(ParseXFile(text, sizeof text - 1, &d, &error), 1) << error;
    // Vertices 0 and 2 are used with both normals: their second uses are appended as 4 and 5.
    ASSERT_EQ(d.positions.size(), 6u);
    EXPECT_EQ(d.positions[4], Vec3(0, 0, 0));
    EXPECT_EQ(d.positions[5], Vec3(1, 1, 0));
    EXPECT_EQ(d.normals[0], Vec3(0, 0, -1));
    EXPECT_EQ(d.normals[3], Vec3(0, 1, 0));
    EXPECT_EQ(d.normals[4], Vec3(0, 1, 0));
    const uint32_t want[] = {0, 1, 2, 4, 5, 3};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.indices[i], want[i]);
    ASSERT_EQ(d.colors.size(), 6u);
    EXPECT_EQ(d.colors[2], 0xFFFF0000u);
    EXPECT_EQ(d.colors[5], 0xFFFF0000u);
    EXPECT_EQ(d.colors[0], 0xFFFFFFFFu);

    // Normals and texture coordinates that are not finite, as exporters write for degenerate
    // faces, read as zero.
    const char odd[] = R"(xof 0302txt 0032
Mesh {
 3; 0;0;0;, 1;0;0;, 0;1;0;;
 1; 3;0,1,2;;
 MeshNormals { 2; 0;0;1e999;, 0;0;-1;; 1; 3;0,1,0;; }
 MeshTextureCoords { 3; 1e999;0.5;, 0.5;1;, 0;-1e999;; }
}
)";
    ASSERT_EQ(ParseXFile(odd, sizeof odd - 1, &d, &error), 1) << error;
    EXPECT_EQ(d.normals[0], Vec3());
    EXPECT_EQ(d.normals[1], Vec3(0, 0, -1));
    const float tex[3][2] = {{0, 0}, {0.5f, 1}, {0, 0}};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(d.texCoords[i].x == tex[i][0] && d.texCoords[i].y == tex[i][1]) << i;
}

// Top-level objects in file order, templates left out; a top-level Mesh loads alone, without
// the frames around other meshes, and finds a material named elsewhere in the file.
TEST(XFileReader, EnumeratesTopLevelObjects) {
    CTestFolder folder;
    WriteWholeFile(folder.File("good.x"), kGood);
    CXFileReader reader;
    XDataObject o;
    EXPECT_EQ(reader.GetNextDataObject(&o), 0);  // not open
    EXPECT_EQ(reader.Open("missing.x", 0), 0);
    ASSERT_EQ(reader.Open("good.x", 0), 1);
    const char* want[][2] = {{"Material", "Red"}, {"Header", ""}, {"Frame", "Root"}, {"Mesh", "Second"}};
    for (const auto& w : want) {
        ASSERT_EQ(reader.GetNextDataObject(&o), 1);
        EXPECT_EQ(o.type, w[0]);
        EXPECT_EQ(o.name, w[1]);
    }
    EXPECT_EQ(reader.GetNextDataObject(&o), 0);

    ASSERT_EQ(reader.Open("good.x", 0), 1);  // opening again starts over
    ASSERT_EQ(reader.FindMesh(&o), 1);
    EXPECT_EQ(o.name, "Second");  // the pentagon inside the frames is no top-level mesh
    XMeshData d;
    std::string error;
    ASSERT_EQ(reader.LoadMesh(o, &d, &error), 1) << error;
    ASSERT_EQ(d.positions.size(), 3u);
    EXPECT_EQ(d.positions[1], Vec3(0, 0, 1));  // no frame transform applies
    ASSERT_EQ(d.materials.size(), 1u);        // the default material
    EXPECT_EQ(reader.FindMesh(&o), 0);
    XDataObject frame;
    frame.type = "Frame";
    EXPECT_EQ(reader.LoadMesh(frame, &d, &error), 0);
    reader.Close();
    EXPECT_EQ(reader.LoadMesh(o, &d, &error), 0);

    WriteWholeFile(folder.File("ref.x"), std::string(kGood).substr(0, std::strlen("xof 0302txt 0032\n")) +
                                             "Material Red { 1;0;0;1;; 5; 0;0;0;; 0;0;0;; }\n"
                                             "Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;;\n"
                                             " MeshMaterialList { 1; 1; 0;; { Red } } }\n");
    ASSERT_EQ(reader.Open("ref.x", 0), 1);
    ASSERT_EQ(reader.FindMesh(&o), 1);
    ASSERT_EQ(reader.LoadMesh(o, &d, &error), 1) << error;
    ASSERT_EQ(d.materials.size(), 1u);
    EXPECT_EQ(d.materials[0].power, 5.0f);

    // A file whose objects do not close is refused at the opening, as is one that is no .x.
    WriteWholeFile(folder.File("broken.x"), "xof 0302txt 0032\nHeader { 1; 0; 1; }\nMesh { 3; 0;0;0;");
    EXPECT_EQ(reader.Open("broken.x", 0), 0);
    EXPECT_EQ(reader.GetNextDataObject(&o), 0);
    WriteWholeFile(folder.File("not_x.x"), "xof 0302bin 0032 binary bytes");
    EXPECT_EQ(reader.Open("not_x.x", 0), 0);
}

TEST(XFileReader, BadInputsFailCleanly) {
    const char* bad[] = {
        "",
        "xof 0302bin 0032",                                           // binary is not read
        "xof 0302txt 0032",                                           // no mesh
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }",   // index past vertices
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;; }",     // two-corner face
        "xof 0302txt 0032 Mesh { 4000000000; 0;0;0;; 1; 3;0,0,0;; }",          // huge count
        "xof 0302txt 0032 Mesh { 900000; 0;0;0;; 1; 3;0,0,0;; }",              // count past the data
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; ",    // unclosed
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 1;; { Red } } }",
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { Nope } } }",
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshTextureCoords { 2; 0;0;, 1;1;; } }",
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, zz;1;0;; 1; 3;0,1,2;; }",
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2.5;; }",
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; -1; }",
        "xof 0302txt 0032 Frame { Frame { Frame { FrameTransformMatrix { 1; } } } }",
        "xof 0302txt 0032 Mesh { \"unterminated ",
        "xof 0302txt 0032 Mesh { 3; 0;0;0;, 1e999;0;0;, -1e999;1;0;; 1; 3;0,1,2;; }",  // infinite positions
        "xof 0302txt 0032 Frame { FrameTransformMatrix { 1e30;0;0;0;, 0;1;0;0;, 0;0;1;0;, 0;0;0;1;; } "
        "Mesh { 3; 0;0;0;, 1e10;0;0;, 0;1;0;; 1; 3;0,1,2;; } }",  // a frame that takes one past the float range
    };
    for (const char* s : bad) {
        XMeshData d;
        std::string error;
        EXPECT_EQ(ParseXFile(s, std::strlen(s), &d, &error), 0) << s;
        EXPECT_TRUE(d.positions.empty() && d.indices.empty() && d.materials.empty()) << s;
        EXPECT_FALSE(error.empty()) << s;
    }
    std::string deep = "xof 0302txt 0032 ";
    for (int i = 0; i < 200; ++i) deep += "Frame {";
    XMeshData d;
    std::string error;
    EXPECT_EQ(ParseXFile(deep.data(), deep.size(), &d, &error), 0);
}

// Every truncation and many bit flips of the good files either parse to consistent data or
// fail cleanly (the sanitizers watch for reads past the data).
TEST(XFileReader, FuzzedInputsNeverBreakTheReader) {
    std::string good(kGood, sizeof kGood - 1);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    auto check = [](const std::string& s) {
        XMeshData d;
        std::string error;
        if (ParseXFile(s.data(), s.size(), &d, &error)) {
            for (uint32_t i : d.indices) ASSERT_LT(i, d.positions.size());
            for (uint32_t m : d.faceMaterials) ASSERT_LT(m, d.materials.size());
            ASSERT_EQ(d.faceMaterials.size() * 3, d.indices.size());
            ASSERT_TRUE(d.normals.empty() || d.normals.size() == d.positions.size());
            ASSERT_TRUE(d.texCoords.empty() || d.texCoords.size() == d.positions.size());
        }
    };
    for (size_t n = 0; n <= good.size(); n += 3) check(good.substr(0, n));
    for (int i = 0; i < 3000; ++i) {
        std::string s = good;
        int flips = 1 + next() % 4;
        for (int k = 0; k < flips; ++k) s[next() % s.size()] ^= static_cast<char>(1 << (next() % 8));
        check(s);
        // Digits swapped for other digits reach the count and index checks.
        std::string t = good;
        for (int k = 0; k < 3; ++k) {
            size_t p = next() % t.size();
            if (t[p] >= '0' && t[p] <= '9') t[p] = static_cast<char>('0' + next() % 10);
        }
        check(t);
    }
}

}  // namespace
