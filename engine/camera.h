// The engine's one camera: not an object but the view matrix of the frame matrices, with free
// functions that aim and move it, read its eye and axes back and map points between world and
// screen; beside them the engine's small vector helpers (distances, 2-D angles, look-at space).
#pragma once

#include "math_ops.h"

class C3DObject;

// ---- Aiming and moving the camera (each writes the view matrix) ----
void SetViewLookAt(const Vec3& eye, const Vec3& target, const Vec3& up);
void SetViewLookAlong(const Vec3& eye, const Vec3& dir, const Vec3& up);
void SetViewTarget(const Vec3& target);   // from the current eye, up (0, 1, 0)
void SetViewPosition(const Vec3& eye);    // orientation kept
void RotateViewX(float angle);            // about the camera's own axes
void RotateViewY(float angle);
void RotateViewZ(float angle);
void RotateViewAxis(float angle);         // about the world's vertical through the eye
void TranslateView(const Vec3& v);        // along the camera's own axes
void TranslateViewInPlace(const Vec3& v);

// ---- Reading the camera and mapping points ----
Vec3 GetCameraPosition();
Vec3 GetCameraDirection();  // column 2 of the view
Vec3 GetCameraUp();         // column 1
Vec3 GetCameraRight();      // column 0
// Pixel x, y of the point on the 640 x 480 screen; z 0 in front of (or level with) the eye,
// -1 behind it (such a point must not be drawn).
Vec3 WorldToScreen(const Vec3& p);
Vec3 ScreenToWorld(const Vec3& p);
Vec3 TransformByView(const Vec3& p);
Vec3 TransformByMatrix(const Vec3& p, const Mat4& m);  // with the divide by w

// ---- Vector helpers ----
float GetDistance(float x1, float y1, float z1, float x2, float y2, float z2);
float GetDistanceVec(const Vec3& a, const Vec3& b);
float GetAngle2D(const Vec3& v);     // heading in the XZ plane; a zero vector gives 1.570795
float GetAngle2D(float a, float b);  // angle of (a, b): acos(a / length), negated for b > 0, + 1.570795
float GetAngleFromX(float a, float b);  // acos(a / |(a, b)|); 0 for (0, 0)
Vec3 TransformToLookAtSpace(const Vec3& dir, const Vec3& eye, const Vec3& p);
Vec3 TransformToLookAtSpaceV(const Vec3& dir, const Vec3& eye, Vec3 p);
// Where the target is seen from the observer: z ahead along its Z axis, x right, y above.
Vec3 GetRelativePosition(C3DObject observer, C3DObject target);
