// Entry point of skelvo.
int main() { return 0; }
