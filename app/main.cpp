// Not written yet.
int main() { return 0; }
