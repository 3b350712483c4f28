#include "shell/program.h"

int main()
{
    runProgram();
    return 0;
}
