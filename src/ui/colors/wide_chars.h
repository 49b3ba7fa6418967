// How many terminal cells a character takes: two for the wide and fullwidth characters of East
// Asian scripts (and the emoji drawn that wide), none for a mark drawn over the character before
// it, one for everything else.
#pragma once

namespace termdraw {

bool IsWideCharacter(char32_t code);
// 1 or 2: the cells of a character that starts a cell.
int CharacterColumns(char32_t code);
// 0 for a non-spacing or enclosing mark (it joins the character before it), else CharacterColumns.
int CellsOf(char32_t code);

}  // namespace termdraw
