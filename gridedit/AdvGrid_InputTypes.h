#pragma once
// Types of the grid's keyboard, mouse and check-box handling.
