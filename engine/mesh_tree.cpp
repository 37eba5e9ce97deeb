// The hierarchy of boxes over a mesh's faces that ray picks search, and the measure of how
// crowded its faces are. Picks stay exact whatever the tree's shape: a node's box holds every
// face box below it, and a pick accepts a hit only inside its face's box where the ray meets it.
#include "mesh.h"

#include <algorithm>

namespace {

// A span of the face order waiting to become the node it belongs to.
struct Span {
    int node, first, end;
};

// A box (low x, y, z, high x, y, z) grown to hold another, or set to it when first.
void GrowBox(double* box, const double* other, bool first) {
    for (int i = 0; i < 3; ++i) {
        if (first || other[i] < box[i]) box[i] = other[i];
        if (first || other[3 + i] > box[3 + i]) box[3 + i] = other[3 + i];
    }
}

bool BoxesMeet(const double* a, const double* b) {
    for (int i = 0; i < 3; ++i)
        if (a[i] > b[3 + i] || b[i] > a[3 + i]) return false;
    return true;
}

}  // namespace

// Each span splits at its median face by the faces' box centres along the longest side of the
// centres' box (the first such side on a tie), faces of equal centre by index: a total order,
// so the halves depend on the positions alone. The halves are as large as can be, so the tree
// is no deeper than the face count's binary logarithm plus one.
void CMesh::BuildFaceTree() {
    m_faceTree.clear();
    m_faceTreeOrder.clear();
    const int faces = GetFaceCount();
    if (faces == 0 || GetFaceBoxCount() != faces) return;
    std::vector<double> centres(static_cast<size_t>(faces) * 3);
    for (size_t f = 0; f < size_t(faces); ++f)
        for (int i = 0; i < 3; ++i) centres[f * 3 + i] = (m_faceBoxes[f * 6 + i] + m_faceBoxes[f * 6 + 3 + i]) * 0.5;
    m_faceTreeOrder.resize(faces);
    for (int f = 0; f < faces; ++f) m_faceTreeOrder[f] = f;
    m_faceTree.reserve(static_cast<size_t>(faces / kLeafFaces) * 2 + 2);
    m_faceTree.emplace_back();
    std::vector<Span> todo{{0, 0, faces}};
    while (!todo.empty()) {
        const Span s = todo.back();
        todo.pop_back();
        int* order = m_faceTreeOrder.data();
        FaceNode& node = m_faceTree[s.node];
        for (int k = s.first; k < s.end; ++k) GrowBox(node.box, &m_faceBoxes[size_t(order[k]) * 6], k == s.first);
        if (s.end - s.first <= kLeafFaces) {
            std::sort(order + s.first, order + s.end);
            node.first = s.first;
            node.count = s.end - s.first;
            continue;
        }
        double lo[3] = {}, hi[3] = {};
        for (int k = s.first; k < s.end; ++k)
            for (int i = 0; i < 3; ++i) {
                const double c = centres[size_t(order[k]) * 3 + i];
                if (k == s.first || c < lo[i]) lo[i] = c;
                if (k == s.first || c > hi[i]) hi[i] = c;
            }
        int axis = 0;
        for (int i = 1; i < 3; ++i)
            if (hi[i] - lo[i] > hi[axis] - lo[axis]) axis = i;
        const int mid = s.first + (s.end - s.first) / 2;
        std::nth_element(order + s.first, order + mid, order + s.end, [&](int a, int b) {
            const double ca = centres[size_t(a) * 3 + axis], cb = centres[size_t(b) * 3 + axis];
            return ca < cb || (ca == cb && a < b);
        });
        const int left = static_cast<int>(m_faceTree.size());
        node.first = left;
        node.count = 0;
        m_faceTree.emplace_back();  // `node` is not used past here: the vector may move
        m_faceTree.emplace_back();
        todo.push_back({left + 1, mid, s.end});
        todo.push_back({left, s.first, mid});
    }
}

int CMesh::CountCrowdedFaces(int cap) const {
    const int faces = GetFaceCount();
    if (faces == 0 || GetFaceBoxCount() != faces || m_faceTreeOrder.size() != size_t(faces)) return 0;
    int most = 0;
    std::vector<int> todo;
    for (int f = 0; f < faces && most < cap; ++f) {
        const double* box = &m_faceBoxes[size_t(f) * 6];
        int met = 0;
        todo.assign(1, 0);
        while (!todo.empty() && met < cap) {
            const FaceNode& n = m_faceTree[todo.back()];
            todo.pop_back();
            if (!BoxesMeet(n.box, box)) continue;
            if (n.count == 0) {
                todo.push_back(n.first);
                todo.push_back(n.first + 1);
                continue;
            }
            for (int k = n.first; k < n.first + n.count; ++k)
                met += BoxesMeet(&m_faceBoxes[size_t(m_faceTreeOrder[k]) * 6], box);
        }
        most = std::max(most, std::min(met, cap));
    }
    return most;
}
