#pragma once
// Types of the grid's cell painting.
