// Stand-in for the PowerBASIC resource converter: takes the resource file's
// name as its argument and records how it was started (see recorder.h).
#include "recorder.h"

int main(int argc, char **argv) {
    return RECORDSTART("converter", argc, argv);
}
