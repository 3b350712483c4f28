#include "console/program.h"

int main()
{
    runProgram();
    return 0;
}
