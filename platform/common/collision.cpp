// Rectangle tests in window coordinates.

#include "platform_common.h"

// Rectangles that only share an edge or a corner do not collide: the overlap
// must have a positive area.
bool CheckCollisionRecs(Rectangle rec1, Rectangle rec2) {
    return rec1.x < rec2.x + rec2.width && rec2.x < rec1.x + rec1.width &&
           rec1.y < rec2.y + rec2.height && rec2.y < rec1.y + rec1.height;
}

// The left and top edges are inside the rectangle, the right and bottom edges
// outside, so rectangles that tile the window claim every point exactly once.
bool CheckCollisionPointRec(Vector2 point, Rectangle rec) {
    return point.x >= rec.x && point.x < rec.x + rec.width && point.y >= rec.y &&
           point.y < rec.y + rec.height;
}
