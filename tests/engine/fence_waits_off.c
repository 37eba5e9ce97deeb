/* Preloaded beside the fence watch, it takes the present's waits away: glFinish returns at once and
 * the driver gives no sync objects, so nothing holds a finished batch's fence. With it the fence
 * watch test must fail, which shows the test still sees what the waits are for; without sync
 * objects the start-up log says the guard is off. The game calls these three directly (GL's
 * prototypes, not looked up by name), so the preloaded symbols are the ones it reaches. */
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

/* Found by the tests that need to know they run without the waits. */
int fence_waits_off = 1;

void glFinish(void) {}

GLsync glFenceSync(GLenum condition, GLbitfield flags) {
    (void)condition;
    (void)flags;
    return 0;
}

void glDeleteSync(GLsync sync) { (void)sync; }
