/* Frees one block twice, so that a run with Wine's heap checking can show
   the checking is on before it counts the launcher's heap warnings. */
#include <stdlib.h>

int main(void)
{
    char *volatile block = malloc(16);
    free(block);
    free(block);
    return 0;
}
