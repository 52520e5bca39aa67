// Draws the game's bitmaps.
int main() { return 0; }
