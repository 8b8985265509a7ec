#pragma once
// Types of the grid's editing lifecycle and editors.
