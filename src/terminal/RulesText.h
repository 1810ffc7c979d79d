#pragma once

namespace karvel::terminal {

// Written once into the rules panel at start-up.
inline constexpr const char* RULES =
    "Rules:\n\nEach player takes turns making moves.Pieces are moved by jumping over the opposing "
    "teams pieces in any direction.The piece that has been jumped over is removed from the "
    "board.If the move is available, the same piece can make multiple jumps in a row before the "
    "turn is over.The game ends when any player is unable to make a move on their turn.The board "
    "is then scored.Players earn points for each island of pieces they have on the board.An "
    "island is a group of piece from the same side that does not touch any pieces of the "
    "opposing player, including diagonoally.Scores are by the number of pieces per island, added "
    "up for all islands for a player.\nScores per island:\n\t1 piece:  1 point\n\t2 pieces: 3 "
    "points\n\t3 pieces: 5 points\n\t4 pieces: 7 points\n\t5 pieces: 9 points\n\n\nPress any "
    "key\n";

}  // namespace karvel::terminal
