// The .x text reader: a tokenizer (separators and comments dropped), a pre-pass that collects
// named materials for references, then a walk over frames and meshes. Templates and objects we
// do not use are skipped by matching braces.
#include "xfile_reader.h"

#include "sys_path.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

namespace {

// Exporters write normals and texture coordinates that are not finite for degenerate faces:
// those read as zero, so such files still load. Positions that are not finite cannot be picked
// or bounded, and fail the mesh.
Vec3 FiniteOrZero(const Vec3& v) { return Vec3IsFinite(v) ? v : Vec3(); }
Vec2 FiniteOrZero(const Vec2& v) { return std::isfinite(v.x) && std::isfinite(v.y) ? v : Vec2(); }

// Frames nest no deeper than this in any real file; deeper nesting is refused (no recursion blow-up).
constexpr int kMaxDepth = 64;
// A face with more corners is not a face of ours.
constexpr uint32_t kMaxFaceCorners = 256;
constexpr uint32_t kMaxMaterials = 4096;

enum TokenType { kTokName, kTokNumber, kTokString, kTokOpen, kTokClose };

struct Token {
    TokenType type;
    std::string text;  // name or string contents
    double number = 0;
};

int IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == '+' || static_cast<unsigned char>(c) >= 0x80;
}

int Tokenize(const char* s, size_t n, std::vector<Token>* out, std::string* error) {
    size_t i = 0;
    while (i < n) {
        char c = s[i];
        // Separators, and the brackets of template restrictions ("[...]", "[Mesh]", "array x[n]").
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';' || c == '\0' || c == '[' ||
            c == ']') {
            ++i;
        } else if (c == '#' || (c == '/' && i + 1 < n && s[i + 1] == '/')) {
            while (i < n && s[i] != '\n') ++i;
        } else if (c == '{') {
            out->push_back({kTokOpen, "", 0});
            ++i;
        } else if (c == '}') {
            out->push_back({kTokClose, "", 0});
            ++i;
        } else if (c == '<') {  // a GUID: not needed
            while (i < n && s[i] != '>') ++i;
            if (i >= n) return *error = "unterminated GUID", 0;
            ++i;
        } else if (c == '"') {
            size_t j = i + 1;
            while (j < n && s[j] != '"') ++j;
            if (j >= n) return *error = "unterminated string", 0;
            out->push_back({kTokString, std::string(s + i + 1, j - i - 1), 0});
            i = j + 1;
        } else if (IsNameChar(c)) {
            size_t j = i;
            while (j < n && IsNameChar(s[j])) ++j;
            std::string word(s + i, j - i);
            auto digit = [](char d) { return d >= '0' && d <= '9'; };
            int numeric = digit(c) || ((c == '-' || c == '+' || c == '.') && j > i + 1 &&
                                       (digit(s[i + 1]) || (s[i + 1] == '.' && j > i + 2 && digit(s[i + 2]))));
            if (numeric) {
                char* end = nullptr;
                double v = std::strtod(word.c_str(), &end);
                if (!end || *end != '\0') return *error = "bad number " + word, 0;
                out->push_back({kTokNumber, "", v});
            } else {
                out->push_back({kTokName, word, 0});
            }
            i = j;
        } else {
            return *error = "unexpected character", 0;
        }
    }
    return 1;
}

struct Parser {
    const std::vector<Token>& t;
    size_t pos = 0;
    std::string* error;
    std::map<std::string, XMaterial> named;
    XMeshData* out;

    int Fail(const std::string& why) {
        if (error->empty()) *error = why;
        return 0;
    }
    size_t Left() const { return t.size() - pos; }
    int At(TokenType type) const { return pos < t.size() && t[pos].type == type; }

    int Number(double* v) {
        if (!At(kTokNumber)) return Fail("number expected");
        *v = t[pos++].number;
        return 1;
    }
    int Float(float* v) {
        double d;
        if (!Number(&d)) return 0;
        *v = static_cast<float>(d);
        return 1;
    }
    // A count or index: a whole number within [0, limit].
    int Count(uint32_t* v, uint32_t limit) {
        double d;
        if (!Number(&d)) return 0;
        if (d < 0 || d > limit || d != static_cast<double>(static_cast<uint32_t>(d))) return Fail("bad count");
        *v = static_cast<uint32_t>(d);
        return 1;
    }
    // A count of items of at least `per` tokens each must fit in what is left of the file.
    int CheckFits(uint32_t count, size_t per) {
        if (count > Left() / per) return Fail("count past the end of the data");
        return 1;
    }
    int Open() {
        if (!At(kTokOpen)) return Fail("{ expected");
        ++pos;
        return 1;
    }
    int Close() {
        if (!At(kTokClose)) return Fail("} expected");
        ++pos;
        return 1;
    }

    // After the opening brace: skip everything to the matching closing brace.
    int SkipBody() {
        int depth = 1;
        while (pos < t.size()) {
            if (t[pos].type == kTokOpen) ++depth;
            if (t[pos].type == kTokClose && --depth == 0) {
                ++pos;
                return 1;
            }
            ++pos;
        }
        return Fail("unbalanced braces");
    }

    // An object header: type name, optional instance name, opening brace.
    int Header(std::string* type, std::string* name) {
        if (!At(kTokName)) return Fail("object expected");
        *type = t[pos++].text;
        name->clear();
        if (At(kTokName)) *name = t[pos++].text;
        return Open();
    }

    int ColorRGBA(Color4* c) { return Float(&c->r) && Float(&c->g) && Float(&c->b) && Float(&c->a); }
    int ColorRGB(Color4* c) {
        c->a = 1.0f;
        return Float(&c->r) && Float(&c->g) && Float(&c->b);
    }

    // Material body (after its brace).
    int MaterialBody(XMaterial* m) {
        if (!ColorRGBA(&m->faceColor) || !Float(&m->power) || !ColorRGB(&m->specular) || !ColorRGB(&m->emissive))
            return 0;
        while (!At(kTokClose)) {
            std::string type, name;
            if (!Header(&type, &name)) return 0;
            if (type == "TextureFilename" || type == "TextureFileName") {
                if (!At(kTokString)) return Fail("texture name expected");
                m->textureFile = t[pos++].text;
                if (!Close()) return 0;
            } else if (!SkipBody()) {
                return 0;
            }
        }
        return Close();
    }

    // Pre-pass: named materials anywhere at the top level, for references by name.
    int CollectNamedMaterials() {
        while (pos < t.size()) {
            if (t[pos].type == kTokName && t[pos].text == "Material" && pos + 2 < t.size() &&
                t[pos + 1].type == kTokName && t[pos + 2].type == kTokOpen) {
                std::string name = t[pos + 1].text;
                pos += 3;
                XMaterial m;
                if (!MaterialBody(&m)) return 0;
                named[name] = m;
            } else if (t[pos].type == kTokName && pos + 1 < t.size() &&
                       (t[pos + 1].type == kTokOpen || (t[pos + 1].type == kTokName && pos + 2 < t.size() &&
                                                        t[pos + 2].type == kTokOpen))) {
                pos += t[pos + 1].type == kTokOpen ? 2 : 3;
                if (!SkipBody()) return 0;
            } else {
                return Fail("unexpected token at top level");
            }
        }
        return 1;
    }

    struct RawMesh {
        std::vector<Vec3> positions;
        std::vector<uint32_t> faceStart, corners;  // face f: corners[faceStart[f] .. faceStart[f+1])
        std::vector<Vec3> normals;
        std::vector<uint32_t> normalCorners;  // per corner, or empty
        std::vector<Vec2> texCoords;
        std::vector<uint32_t> colors;
        int hasColors = 0;
        std::vector<uint32_t> faceMaterials;  // per face, or empty
        std::vector<XMaterial> materials;
    };

    // nFaces; then per face nCorners; corners...; indices below vertexCount.
    int Faces(uint32_t vertexCount, std::vector<uint32_t>* start, std::vector<uint32_t>* corners) {
        uint32_t faces;
        if (!Count(&faces, kMaxXFaces) || !CheckFits(faces, 4)) return 0;
        start->reserve(faces + 1);
        for (uint32_t f = 0; f < faces; ++f) {
            start->push_back(static_cast<uint32_t>(corners->size()));
            uint32_t n;
            if (!Count(&n, kMaxFaceCorners)) return 0;
            if (n < 3) return Fail("face with fewer than three corners");
            if (!CheckFits(n, 1)) return 0;
            for (uint32_t k = 0; k < n; ++k) {
                uint32_t v;
                if (!Count(&v, 0xFFFFFFFFu)) return 0;
                if (v >= vertexCount) return Fail("vertex index out of range");
                corners->push_back(v);
            }
        }
        start->push_back(static_cast<uint32_t>(corners->size()));
        return 1;
    }

    int Vectors(uint32_t limit, std::vector<Vec3>* v) {
        uint32_t n;
        if (!Count(&n, limit) || !CheckFits(n, 3)) return 0;
        v->resize(n);
        for (uint32_t i = 0; i < n; ++i)
            if (!Float(&(*v)[i].x) || !Float(&(*v)[i].y) || !Float(&(*v)[i].z)) return 0;
        return 1;
    }

    int MeshNormals(RawMesh* m) {
        if (!Vectors(kMaxXVertices, &m->normals)) return 0;
        std::vector<uint32_t> start, corners;
        if (!Faces(static_cast<uint32_t>(m->normals.size()), &start, &corners)) return 0;
        // The normal faces follow the mesh faces one for one, corner for corner.
        if (start.size() != m->faceStart.size()) return Fail("normal face count differs");
        for (size_t f = 0; f < start.size(); ++f)
            if (start[f] != m->faceStart[f]) return Fail("normal face corners differ");
        m->normalCorners = corners;
        return Close();
    }

    int TextureCoords(RawMesh* m) {
        uint32_t n;
        if (!Count(&n, kMaxXVertices) || !CheckFits(n, 2)) return 0;
        if (n != m->positions.size()) return Fail("texture coordinate count differs");
        m->texCoords.resize(n);
        for (uint32_t i = 0; i < n; ++i)
            if (!Float(&m->texCoords[i].x) || !Float(&m->texCoords[i].y)) return 0;
        return Close();
    }

    static uint32_t ToArgb(const Color4& c) {
        auto ch = [](float v) -> uint32_t {
            if (!(v > 0)) return 0;
            if (v >= 1) return 255;
            return static_cast<uint32_t>(v * 255.0f + 0.5f);
        };
        return ch(c.a) << 24 | ch(c.r) << 16 | ch(c.g) << 8 | ch(c.b);
    }

    int VertexColors(RawMesh* m) {
        uint32_t n;
        if (!Count(&n, kMaxXVertices) || !CheckFits(n, 5)) return 0;
        m->colors.assign(m->positions.size(), 0xFFFFFFFFu);
        m->hasColors = 1;
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t index;
            Color4 c;
            if (!Count(&index, 0xFFFFFFFFu) || !ColorRGBA(&c)) return 0;
            if (index >= m->positions.size()) return Fail("colour index out of range");
            m->colors[index] = ToArgb(c);
        }
        return Close();
    }

    int MaterialList(RawMesh* m) {
        uint32_t count, n;
        if (!Count(&count, kMaxMaterials) || !Count(&n, kMaxXFaces) || !CheckFits(n, 1)) return 0;
        uint32_t faces = static_cast<uint32_t>(m->faceStart.size() - 1);
        std::vector<uint32_t> list(n);
        for (uint32_t i = 0; i < n; ++i) {
            if (!Count(&list[i], 0xFFFFFFFFu)) return 0;
            if (list[i] >= count) return Fail("material index out of range");
        }
        // A shorter list repeats its last entry for the remaining faces.
        m->faceMaterials.assign(faces, 0);
        for (uint32_t f = 0; f < faces; ++f) m->faceMaterials[f] = n == 0 ? 0 : list[f < n ? f : n - 1];
        while (!At(kTokClose)) {
            if (At(kTokOpen) && pos + 2 < t.size() && t[pos + 1].type == kTokName && t[pos + 2].type == kTokClose) {
                auto it = named.find(t[pos + 1].text);
                if (it == named.end()) return Fail("unknown material " + t[pos + 1].text);
                m->materials.push_back(it->second);
                pos += 3;
                continue;
            }
            std::string type, name;
            if (!Header(&type, &name)) return 0;
            if (type == "Material") {
                XMaterial mat;
                if (!MaterialBody(&mat)) return 0;
                if (!name.empty()) named[name] = mat;
                m->materials.push_back(mat);
            } else if (!SkipBody()) {
                return 0;
            }
        }
        if (m->materials.size() < count) return Fail("fewer materials than counted");
        m->materials.resize(count);
        if (count == 0 && faces > 0) m->faceMaterials.clear();
        return Close();
    }

    int MeshBody(const Mat4& frame) {
        RawMesh m;
        if (!Vectors(kMaxXVertices, &m.positions)) return 0;
        if (!Faces(static_cast<uint32_t>(m.positions.size()), &m.faceStart, &m.corners)) return 0;
        while (!At(kTokClose)) {
            std::string type, name;
            if (!Header(&type, &name)) return 0;
            int ok = type == "MeshNormals"          ? MeshNormals(&m)
                     : type == "MeshTextureCoords"  ? TextureCoords(&m)
                     : type == "MeshVertexColors"   ? VertexColors(&m)
                     : type == "MeshMaterialList"   ? MaterialList(&m)
                                                    : SkipBody();
            if (!ok) return 0;
        }
        if (!Close()) return 0;
        return Merge(m, frame);
    }

    // Appends one mesh to the output: vertices in file order (a vertex met with a second
    // normal is duplicated at the end), faces fanned, materials appended.
    int Merge(RawMesh& m, const Mat4& frame) {
        size_t base = out->positions.size();
        uint32_t n = static_cast<uint32_t>(m.positions.size());
        if (base + n > kMaxXVertices) return Fail("too many vertices");
        std::vector<uint32_t> vertex(m.corners);  // final vertex of each corner (local numbering)
        std::vector<uint32_t> srcOf(n);           // source vertex of each local vertex
        std::vector<int64_t> normalOf(n, -1);
        for (uint32_t i = 0; i < n; ++i) srcOf[i] = i;
        if (!m.normalCorners.empty()) {
            std::map<std::pair<uint32_t, uint32_t>, uint32_t> dup;
            for (size_t c = 0; c < m.corners.size(); ++c) {
                uint32_t v = m.corners[c], ni = m.normalCorners[c];
                if (normalOf[v] < 0) normalOf[v] = ni;
                if (normalOf[v] == ni) continue;
                auto key = std::make_pair(v, ni);
                auto it = dup.find(key);
                if (it == dup.end()) {
                    if (base + srcOf.size() >= kMaxXVertices) return Fail("too many vertices");
                    it = dup.emplace(key, static_cast<uint32_t>(srcOf.size())).first;
                    srcOf.push_back(v);
                    normalOf.push_back(ni);
                }
                vertex[c] = it->second;
            }
        }
        uint32_t total = static_cast<uint32_t>(srcOf.size());
        // Once any mesh of the file has an attribute, every vertex carries it; meshes without it
        // get neutral values (zero normal, (0, 0) coordinates, white).
        int wantNormals = !out->normals.empty() || !m.normalCorners.empty();
        int wantTex = !out->texCoords.empty() || !m.texCoords.empty();
        int wantColors = !out->colors.empty() || m.hasColors;
        if (wantNormals) out->normals.resize(base);
        if (wantTex) out->texCoords.resize(base);
        if (wantColors) out->colors.resize(base, 0xFFFFFFFFu);
        for (uint32_t i = 0; i < total; ++i) {
            uint32_t s = srcOf[i];
            const Vec3 at = Vec3TransformCoord(m.positions[s], frame);
            if (!Vec3IsFinite(at)) return Fail("vertex position not finite");
            out->positions.push_back(at);
            if (wantNormals) {
                Vec3 nrm = normalOf[i] >= 0 ? m.normals[normalOf[i]] : Vec3();
                out->normals.push_back(FiniteOrZero(Vec3Normalize(Vec3TransformNormal(nrm, frame))));
            }
            if (wantTex) out->texCoords.push_back(m.texCoords.empty() ? Vec2() : FiniteOrZero(m.texCoords[s]));
            if (wantColors) out->colors.push_back(m.hasColors ? m.colors[s] : 0xFFFFFFFFu);
        }
        uint32_t matBase = static_cast<uint32_t>(out->materials.size());
        if (m.materials.empty()) {
            XMaterial def;  // a mesh without materials draws in plain white
            def.faceColor = Color4(1, 1, 1, 1);
            def.specular = def.emissive = Color4(0, 0, 0, 1);
            out->materials.push_back(def);
        } else {
            out->materials.insert(out->materials.end(), m.materials.begin(), m.materials.end());
        }
        if (out->materials.size() > kMaxMaterials) return Fail("too many materials");
        size_t faces = m.faceStart.size() - 1;
        for (size_t f = 0; f < faces; ++f) {
            uint32_t a = m.faceStart[f], e = m.faceStart[f + 1];
            uint32_t mat = matBase + (m.faceMaterials.empty() ? 0 : m.faceMaterials[f]);
            for (uint32_t k = a + 1; k + 1 < e; ++k) {
                if (out->indices.size() / 3 >= kMaxXFaces) return Fail("too many faces");
                out->indices.push_back(static_cast<uint32_t>(base) + vertex[a]);
                out->indices.push_back(static_cast<uint32_t>(base) + vertex[k]);
                out->indices.push_back(static_cast<uint32_t>(base) + vertex[k + 1]);
                out->faceMaterials.push_back(mat);
            }
        }
        return 1;
    }

    int FrameBody(const Mat4& parent, int depth) {
        if (depth > kMaxDepth) return Fail("frames nested too deep");
        Mat4 local = Mat4::Identity();
        Mat4 world = parent;
        while (!At(kTokClose)) {
            std::string type, name;
            if (!Header(&type, &name)) return 0;
            int ok = 1;
            if (type == "FrameTransformMatrix") {
                for (int i = 0; i < 16 && ok; ++i) ok = Float(&local.m[i / 4][i % 4]);
                if (!ok || !Close()) return 0;
                world = local * parent;  // a frame's matrix is relative to its parent frame
            } else if (type == "Frame") {
                ok = FrameBody(world, depth + 1);
            } else if (type == "Mesh") {
                ok = MeshBody(world);
            } else {
                ok = SkipBody();
            }
            if (!ok) return 0;
        }
        return Close();
    }

    int TopLevel() {
        while (pos < t.size()) {
            std::string type, name;
            if (!Header(&type, &name)) return 0;
            int ok = type == "Frame" ? FrameBody(Mat4::Identity(), 1)
                     : type == "Mesh" ? MeshBody(Mat4::Identity())
                                      : SkipBody();
            if (!ok) return 0;
        }
        return 1;
    }
};

// The whole text after the header as tokens; 0 for anything but a text .x file.
int TokenizeXFile(const char* data, size_t size, std::vector<Token>* tokens, std::string* error) {
    if (size < 16 || std::memcmp(data, "xof ", 4) != 0) return *error = "not a .x file", 0;
    if (std::memcmp(data + 8, "txt ", 4) != 0) return *error = "only the text format is read", 0;
    if (std::memcmp(data + 12, "0032", 4) != 0 && std::memcmp(data + 12, "0064", 4) != 0)
        return *error = "bad float size", 0;
    return Tokenize(data + 16, size - 16, tokens, error);
}

int ReadFileBytes(const char* gamePath, std::string* bytes, std::string* error) {
    FILE* f = SysOpenFile(gamePath, "rb");
    if (!f) return *error = "cannot open", 0;
    char buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) {
        bytes->append(buf, got);
        if (bytes->size() > kMaxXFileBytes) {
            std::fclose(f);
            return *error = "file too large", 0;
        }
    }
    std::fclose(f);
    return 1;
}

}  // namespace

int ParseXFile(const char* data, size_t size, XMeshData* out, std::string* error) {
    *out = XMeshData();
    error->clear();
    std::vector<Token> tokens;
    if (!TokenizeXFile(data, size, &tokens, error)) return 0;
    Parser pre{tokens, 0, error, {}, out};
    if (!pre.CollectNamedMaterials()) {
        *out = XMeshData();
        return 0;
    }
    Parser p{tokens, 0, error, pre.named, out};
    if (!p.TopLevel()) {
        *out = XMeshData();
        return 0;
    }
    if (out->positions.empty() || out->indices.empty()) {
        *out = XMeshData();
        return *error = "no mesh in the file", 0;
    }
    return 1;
}

int ReadXFile(const char* gamePath, XMeshData* out, std::string* error) {
    *out = XMeshData();
    std::string bytes;
    if (!ReadFileBytes(gamePath, &bytes, error)) return 0;
    return ParseXFile(bytes.data(), bytes.size(), out, error);
}

// ---- CXFileReader ----

struct XFileContents {
    std::vector<Token> tokens;
    std::map<std::string, XMaterial> named;  // for material references inside a mesh
};

CXFileReader::CXFileReader() = default;
CXFileReader::~CXFileReader() { Close(); }

int CXFileReader::Open(const char* name, int fromResource) {
    Close();
    std::string path = fromResource ? SysGetExeDirectory() + "res/" + name : std::string(name);
    std::string bytes, error;
    if (!ReadFileBytes(path.c_str(), &bytes, &error)) return 0;
    auto file = std::make_unique<XFileContents>();
    if (!TokenizeXFile(bytes.data(), bytes.size(), &file->tokens, &error)) return 0;
    Parser pre{file->tokens, 0, &error, {}, nullptr};
    if (!pre.CollectNamedMaterials()) return 0;
    file->named = pre.named;
    m_file = std::move(file);
    m_next = 0;
    return 1;
}

int CXFileReader::GetNextDataObject(XDataObject* object) {
    while (m_file && m_next < m_file->tokens.size()) {
        std::string error;
        Parser p{m_file->tokens, m_next, &error, {}, nullptr};
        std::string type, name;
        if (!p.Header(&type, &name)) break;
        size_t body = p.pos;
        if (!p.SkipBody()) break;
        m_next = p.pos;
        if (type == "template") continue;  // templates describe data; they are not data
        object->type = type;
        object->name = name;
        object->body = body;
        object->end = m_next;
        return 1;
    }
    if (m_file) m_next = m_file->tokens.size();  // a malformed rest ends the enumeration
    return 0;
}

int CXFileReader::FindMesh(XDataObject* object) {
    while (GetNextDataObject(object))
        if (object->type == "Mesh") return 1;
    return 0;
}

int CXFileReader::LoadMesh(const XDataObject& object, XMeshData* out, std::string* error) {
    *out = XMeshData();
    error->clear();
    if (!m_file || object.type != "Mesh" || object.body > object.end || object.end > m_file->tokens.size())
        return *error = "not a mesh of this file", 0;
    Parser p{m_file->tokens, object.body, error, m_file->named, out};
    if (!p.MeshBody(Mat4::Identity()) || p.pos != object.end || out->indices.empty()) {
        if (error->empty()) *error = "empty mesh";
        *out = XMeshData();
        return 0;
    }
    return 1;
}

void CXFileReader::Close() {
    m_file.reset();
    m_next = 0;
}
