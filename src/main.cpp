#include "coilrush.h"

int main() {
    return RunCoilrush();
}
