// Stand-in for a resource editor: takes the resource file's name as its
// argument and records how it was started (see recorder.h).
#include "recorder.h"

int main(int argc, char **argv) {
    return RECORDSTART("resourceeditor", argc, argv);
}
