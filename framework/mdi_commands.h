/* The commands of an MDI client's Window menu, which TMDIClient answers.
   Plain macros, because resource scripts include this file too. */
#ifndef TESSEL_FRAMEWORK_MDI_COMMANDS_H
#define TESSEL_FRAMEWORK_MDI_COMMANDS_H

#define CM_CASCADECHILDREN 24361
#define CM_TILECHILDREN 24362
#define CM_TILECHILDRENHORIZ 24363
#define CM_ARRANGEICONS 24364
#define CM_CLOSECHILDREN 24365

#endif
