 ldc 1
 frob 2
