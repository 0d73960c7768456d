#pragma once

// The Unicode properties text layout asks of a character, all answered from
// HarfBuzz's character tables (general category) and FriBidi's (bidirectional type),
// the libraries that shape and order the text, so that the layout and the shaper
// never disagree about a character.

// A combining mark: general category Mn, Mc or Me.
bool IsMark(char32_t code);

// A format control (general category Cf): joiners, direction marks and controls.
bool IsFormatControl(char32_t code);

// A character set in the font of the character before it when that font has it: a
// combining mark, which is positioned on its own base letter, or a space separator
// (Zs), as desktop text layout never changes the font at a space.
bool StaysWithBase(char32_t code);

// A character that makes a line right-to-left or embeds a run in it: bidirectional
// type R, AL or AN, or one of the embedding, override and isolate controls.
bool IsRightToLeftOrEmbedding(char32_t code);
