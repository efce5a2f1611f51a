/* Frees one block twice: a run under Wine's heap checking shows that the checking is on. */
#include <stdlib.h>

int main(void) { char *volatile block = malloc(16); free(block), free(block); return 0; }
