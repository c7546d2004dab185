// Stand-in for the built program: records that it was started, with which
// command line and in which folder, in "<name>.rec" beside itself.
#include "standin.h"

int main() {
    standin::RECORD();
    return 0;
}
