/* Started under Wine's 32-bit loader to learn whether this machine runs 32-bit
   Windows programs: it answers with an exit code no failure produces. */
int main(void) { return sizeof(void*) == 4 ? 32 : 1; }
