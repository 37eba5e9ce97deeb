// The hierarchy of boxes over a mesh's faces that ray picks search, and the measure of how
// crowded its faces are. Picks stay exact whatever the tree's shape: a node's box holds every
// face box below it, and a pick accepts a hit only inside its face's box where the ray meets it.
#include "mesh.h"

#include <algorithm>
#include <cmath>

namespace {

// A span of the face order waiting to become the node it belongs to.
struct Span {
    int node, first, end, depth;
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


// Cuts tried along each axis of a span's box centres.
constexpr int kBins = 16;
// Spans this deep split at their median, so no tree gets deeper than this plus the face count's
// binary logarithm: within kMaxFaceTreeDepth for any count of faces an int can hold.
constexpr int kCostDepth = 24;
static_assert(kCostDepth + 32 <= CMesh::kMaxFaceTreeDepth, "");

double Area(const double* box) {
    const double x = box[3] - box[0], y = box[4] - box[1], z = box[5] - box[2];
    return x * y + y * z + z * x;
}

// The bin of a centre along one axis of the centres' box.
int BinOf(double c, double lo, double extent) {
    const int b = static_cast<int>((c - lo) / extent * kBins);
    return b < 0 ? 0 : b >= kBins ? kBins - 1 : b;
}

}  // namespace

// Each span splits where the surface areas of its two halves' boxes, weighted by their face
// counts, sum least among kBins cuts along each axis of its faces' box centres (the first such
// cut on a tie), or at the median face by centre along the longest side when no cut parts the
// faces or the span is deep; faces of equal centre go by index. Every choice depends on the
// faces' positions alone, so every machine builds the same tree.
void CMesh::BuildFaceTree() {
    m_faceTree.clear();
    m_faceTreePairs.clear();
    m_faceTreeOrder.clear();
    m_faceCells = FaceCells();
    const int faces = GetFaceCount();
    if (faces == 0 || GetFaceBoxCount() != faces) return;
    std::vector<double> centres(static_cast<size_t>(faces) * 3);
    for (size_t f = 0; f < size_t(faces); ++f)
        for (int i = 0; i < 3; ++i) centres[f * 3 + i] = (m_faceBoxes[f * 6 + i] + m_faceBoxes[f * 6 + 3 + i]) * 0.5;
    m_faceTreeOrder.resize(faces);
    for (int f = 0; f < faces; ++f) m_faceTreeOrder[f] = f;
    m_faceTree.reserve(static_cast<size_t>(faces / kLeafFaces) * 2 + 2);
    m_faceTree.emplace_back();
    std::vector<Span> todo{{0, 0, faces, 0}};
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
        int bestAxis = -1, bestCut = 0;
        double bestCost = 0;
        for (int axis = 0; axis < 3 && s.depth < kCostDepth; ++axis) {
            const double extent = hi[axis] - lo[axis];
            if (!(extent > 0)) continue;
            int count[kBins] = {};
            double box[kBins][6] = {};
            for (int k = s.first; k < s.end; ++k) {
                const int f = order[k];
                const int b = BinOf(centres[size_t(f) * 3 + axis], lo[axis], extent);
                GrowBox(box[b], &m_faceBoxes[size_t(f) * 6], count[b]++ == 0);
            }
            // The cost of every cut after bin c: the left part swept up, the right part down.
            double leftCost[kBins] = {};
            double grown[6] = {};
            int n = 0;
            for (int c = 0; c + 1 < kBins; ++c) {
                if (count[c] > 0) GrowBox(grown, box[c], n == 0);
                n += count[c];
                leftCost[c] = n > 0 ? Area(grown) * n : 0;
            }
            n = 0;
            for (int c = kBins - 1; c > 0; --c) {
                if (count[c] > 0) GrowBox(grown, box[c], n == 0);
                n += count[c];
                const int left = s.end - s.first - n;
                if (n == 0 || left == 0) continue;
                const double cost = leftCost[c - 1] + Area(grown) * n;
                if (bestAxis < 0 || cost < bestCost || (cost == bestCost && (axis < bestAxis || (axis == bestAxis && c - 1 < bestCut)))) {
                    bestAxis = axis;
                    bestCut = c - 1;
                    bestCost = cost;
                }
            }
        }
        int mid;
        if (bestAxis >= 0) {
            const double extent = hi[bestAxis] - lo[bestAxis];
            mid = static_cast<int>(std::partition(order + s.first, order + s.end, [&](int f) {
                                       return BinOf(centres[size_t(f) * 3 + bestAxis], lo[bestAxis], extent) <= bestCut;
                                   }) - order);
        } else {
            int axis = 0;
            for (int i = 1; i < 3; ++i)
                if (hi[i] - lo[i] > hi[axis] - lo[axis]) axis = i;
            mid = s.first + (s.end - s.first) / 2;
            std::nth_element(order + s.first, order + mid, order + s.end, [&](int a, int b) {
                const double ca = centres[size_t(a) * 3 + axis], cb = centres[size_t(b) * 3 + axis];
                return ca < cb || (ca == cb && a < b);
            });
        }
        const int left = static_cast<int>(m_faceTree.size());
        node.first = left;
        node.count = 0;
        m_faceTree.emplace_back();  // `node` is not used past here: the vector may move
        m_faceTree.emplace_back();
        todo.push_back({left + 1, mid, s.end, s.depth + 1});
        todo.push_back({left, s.first, mid, s.depth + 1});
    }
    m_faceTreePairs.resize(m_faceTree.size());
    for (size_t at = 0; at < m_faceTree.size(); ++at) {
        const FaceNode& n = m_faceTree[at];
        for (int side = 0; side < 2; ++side) {
            const double* box = n.count == 0 ? m_faceTree[size_t(n.first) + side].box
                                             : &m_faceBoxes[size_t(m_faceTreeOrder[n.first + std::min(side, n.count - 1)]) * 6];
            for (int k = 0; k < 6; ++k) m_faceTreePairs[at].box[k][side] = box[k];
        }
    }
}

// Each cell, widened by twice the margin a pick allows its segment, keeps the nodes where a
// descent from the root stops holding it whole: every face box reaching into it lies below one.
void CMesh::BuildFaceCells() {
    m_faceCells = FaceCells();
    if (m_faceTree.empty() || m_faceTreePairs.size() != m_faceTree.size()) return;
    FaceCells& g = m_faceCells;
    const double* root = m_faceTree[0].box;
    double scale = 0;
    for (int i = 0; i < 6; ++i) scale = std::max(scale, std::fabs(root[i]));
    // Far past the rounding of a point a pick puts on its segment, or of a cell's sides.
    g.margin = 1e-9 * (1 + scale);
    for (int i = 0; i < 3; ++i) {
        g.lo[i] = root[i];
        g.size[i] = (root[3 + i] - root[i]) / kFaceCells;
    }
    const int cells = kFaceCells * kFaceCells * kFaceCells;
    g.start.assign(static_cast<size_t>(cells) + 1, 0);
    std::vector<int> todo, found;
    for (int c = 0; c < cells; ++c) {
        g.start[c] = static_cast<int>(g.nodes.size());
        const int at[3] = {c % kFaceCells, c / kFaceCells % kFaceCells, c / (kFaceCells * kFaceCells)};
        double cell[6];
        for (int i = 0; i < 3; ++i) {
            cell[i] = g.lo[i] + g.size[i] * at[i] - 2 * g.margin;
            cell[3 + i] = g.lo[i] + g.size[i] * (at[i] + 1) + 2 * g.margin;
        }
        found.clear();
        todo.assign(1, 0);
        while (!todo.empty() && found.size() <= size_t(kMaxStartNodes)) {
            const FaceNode& n = m_faceTree[todo.back()];
            const int node = todo.back();
            todo.pop_back();
            if (!BoxesMeet(n.box, cell)) continue;
            bool holds = n.count == 0;
            for (int i = 0; i < 3 && holds; ++i) holds = n.box[i] <= cell[i] && cell[3 + i] <= n.box[3 + i];
            if (holds) {
                todo.push_back(n.first + 1);
                todo.push_back(n.first);
            } else {
                found.push_back(node);
            }
        }
        if (found.size() > size_t(kMaxStartNodes)) found.assign(1, 0);
        g.nodes.insert(g.nodes.end(), found.begin(), found.end());
    }
    g.start[cells] = static_cast<int>(g.nodes.size());
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
