#pragma once
// The text form of component streams (".dfm" files) and its lossless
// conversion to and from the binary form:
//
//   object Form1: TForm1
//     Caption = 'It''s'#9'done'
//     Style = [fsBold, fsUnderline]
//     Items = <
//       item
//         Name = 'English'
//       end>
//     Data = {
//       0A0B0C}
//     object Label1: TLabel [2]
//     end
//   end
//
// Floats carry a suffix when they are not extended: "1.5s" single, "1.5c"
// currency, "1.5d" date; "NAN", "INF" and "-INF" stand for the special values.

#include "platform/classes/Streams.h"

namespace orlo {

// Both read from the input's position to its end and write at the output's
// position. A bad binary stream raises EReadError; bad text raises EParserError
// "Line n: <what> (column c)".
void ObjectBinaryToText(TStream* Input, TStream* Output);
void ObjectTextToBinary(TStream* Input, TStream* Output);
// The text of the named RCDATA resource of a resource file (the first one when
// ResName is empty). EResNotFound "Resource %s not found".
void ObjectResourceToText(TStream* Input, TStream* Output, const String& ResName = String());

// Whether the bytes from the stream's position start a binary form ("TPF0") or
// a text form ("object", "inherited" or "inline" after any blanks); the
// position is left where it was.
bool IsBinaryForm(TStream* Stream);
bool IsTextForm(TStream* Stream);

} // namespace orlo
